#pragma once

#include "image/file_access.h"

namespace trovik {

// The machine's own files.
class SystemFileAccess : public FileAccess {
public:
    ReadResult ReadFile(const std::string& path, std::size_t maxBytes) override;
    // Writes a temporary file beside the target, flushes it to disk and
    // renames it over the target. A read-only target (judged by its
    // permission bits, so even root respects it) is never replaced.
    std::optional<std::string> ReplaceFile(const std::string& path, std::string_view bytes) override;
};

}  // namespace trovik
