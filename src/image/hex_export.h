#pragma once

#include <string>

#include "image/file_access.h"
#include "image/template_image.h"
#include "settings/tracker_settings.h"

namespace trovik {

inline constexpr const char* kOutputFileName = "OUTPUT.HEX";

struct ImageResult {
    std::optional<TemplateImage> image;
    std::string error;  // the user's message when there is no image
};

// Reads the template and patches the settings into it: what both actions
// start from. The settings must have passed their reading.
ImageResult BuildImageFromTemplate(FileAccess& files, const TrackerSettings& settings,
                                   const std::string& templatePath = kTemplateFileName);

enum class ExportStatus { Saved, TemplateProblem, OutputProblem };

struct ExportResult {
    ExportStatus status;
    std::string message;  // "Hex file saved as OUTPUT.HEX." or what went wrong
};

// "Create Hex File": the patched template, all 5801 bytes, replaces the
// output file in one step, so a failure leaves any earlier file as it was.
ExportResult ExportHexFile(FileAccess& files, const TrackerSettings& settings,
                           const std::string& templatePath = kTemplateFileName,
                           const std::string& outputPath = kOutputFileName);

}  // namespace trovik
