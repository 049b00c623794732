#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace trovik {

// The files the actions read and write. platform/ gives the real ones;
// tests give their own.
class FileAccess {
public:
    virtual ~FileAccess() = default;

    struct ReadResult {
        bool ok = false;
        std::string bytes;   // at most maxBytes of the file's beginning
        std::string reason;  // why it could not be read, when !ok
    };
    virtual ReadResult ReadFile(const std::string& path, std::size_t maxBytes) = 0;

    // Replaces the file's content with bytes as one step: either the whole
    // new content is in place afterwards, or the old file is exactly as it
    // was. Returns why it failed, or nullopt on success.
    virtual std::optional<std::string> ReplaceFile(const std::string& path,
                                                   std::string_view bytes) = 0;
};

}  // namespace trovik
