#include "image/hex_export.h"

#include "image/configuration_block.h"

namespace trovik {

ImageResult BuildImageFromTemplate(FileAccess& files, const TrackerSettings& settings,
                                   const std::string& templatePath) {
    TemplateReadResult read = ReadTemplateImage(files, templatePath);
    if (!read.image) return {std::nullopt, std::move(read.error)};
    return {BuildPatchedImage(*read.image, settings), {}};
}

ExportResult ExportHexFile(FileAccess& files, const TrackerSettings& settings,
                           const std::string& templatePath, const std::string& outputPath) {
    ImageResult built = BuildImageFromTemplate(files, settings, templatePath);
    if (!built.image)
        return {ExportStatus::TemplateProblem, built.error + " Nothing was written."};
    if (auto failure = files.ReplaceFile(outputPath, built.image->View()))
        return {ExportStatus::OutputProblem,
                "The hex file " + outputPath + " could not be saved: " + *failure +
                    ". Any earlier " + outputPath + " is unchanged."};
    return {ExportStatus::Saved, "Hex file saved as " + outputPath + "."};
}

}  // namespace trovik
