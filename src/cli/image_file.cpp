#include "cli/image_file.h"

namespace trovik::cli {

bool LooksLikeImage(std::string_view bytes) { return !bytes.empty() && bytes.front() == ':'; }

ImageFileResult ImageFromFileBytes(std::string_view bytes, const std::string& path) {
    ImageFileResult result;
    if (auto problem = FindTemplateProblem(bytes)) {
        result.error = path + " is not an image in the template's geometry (128 data records of 16 bytes, "
                              "45 characters each): " + *problem + ".";
        return result;
    }
    TemplateImage image;
    bytes.copy(image.text.data(), kTemplateImageSize);
    result.image = image;
    return result;
}

ImageFileResult ReadImageFile(FileAccess& files, const std::string& path) {
    auto read = files.ReadFile(path, kTemplateImageSize);
    if (!read.ok) return {std::nullopt, "cannot read " + path + ": " + read.reason + "."};
    return ImageFromFileBytes(read.bytes, path);
}

}  // namespace trovik::cli
