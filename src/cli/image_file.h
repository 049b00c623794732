#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/file_access.h"
#include "image/template_image.h"
#include "settings/tracker_settings.h"

namespace trovik::cli {

// Files the read-back commands take: an image in the template's geometry
// or a settings file, told apart by their content.
bool LooksLikeImage(std::string_view bytes);

struct ImageFileResult {
    std::optional<TemplateImage> image;
    std::string error;  // a sentence for the user naming the file
};

// Makes an image from a file's bytes, with the template's checks.
ImageFileResult ImageFromFileBytes(std::string_view bytes, const std::string& path);
ImageFileResult ReadImageFile(FileAccess& files, const std::string& path);

// The largest file the commands read whole: settings files are small, and
// an image's first 5801 bytes are all that count.
inline constexpr std::size_t kMaxInputFileBytes = 1 << 20;

}  // namespace trovik::cli
