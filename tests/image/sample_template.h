#pragma once

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "image/file_access.h"
#include "image/template_image.h"

namespace trovik::testing {

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string SampleTemplateText() { return ReadWholeFile(TROVIK_SOURCE_DIR "/examples/TROVIK.HEX"); }

inline TemplateImage SampleTemplate() { return *TemplateImageFromText(SampleTemplateText(), "TROVIK.HEX").image; }

// Files in memory; a write can be made to fail.
class MemoryFiles : public FileAccess {
public:
    std::map<std::string, std::string> files;
    std::string writeFailure;  // when set, ReplaceFile fails with it

    ReadResult ReadFile(const std::string& path, std::size_t maxBytes) override {
        auto it = files.find(path);
        if (it == files.end()) return {false, {}, "No such file or directory"};
        return {true, it->second.substr(0, maxBytes), {}};
    }
    std::optional<std::string> ReplaceFile(const std::string& path, std::string_view bytes) override {
        if (!writeFailure.empty()) return writeFailure;
        files[path] = std::string(bytes);
        return std::nullopt;
    }
};

}  // namespace trovik::testing
