#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/file_access.h"

namespace trovik {

// The template's geometry: 128 Intel HEX data records of 16 bytes, each a
// line of exactly 45 characters, holding program words 0 to 1023 in order,
// then 41 characters that end the file and are copied as they are.
inline constexpr std::size_t kTemplateImageSize = 5801;
inline constexpr std::size_t kRecordLength = 45;
inline constexpr std::size_t kRecordCount = 128;
inline constexpr std::size_t kWordsPerRecord = 8;
inline constexpr std::size_t kProgramWordCount = kRecordCount * kWordsPerRecord;
inline constexpr std::size_t kRecordsEnd = kRecordCount * kRecordLength;  // 5760

inline constexpr const char* kTemplateFileName = "TROVIK.HEX";

// Record r begins at character 45r; word w of it at 45r + 9 + 4w.
struct ImageRecord {
    static constexpr std::size_t kByteCount = 1;
    static constexpr std::size_t kAddress = 3;
    static constexpr std::size_t kType = 7;
    static constexpr std::size_t kData = 9;
    static constexpr std::size_t kChecksum = 41;
    static constexpr std::size_t kLineEnd = 43;

    static constexpr std::size_t Start(std::size_t record) { return record * kRecordLength; }
    // The first of the two characters of program word n's low byte; the
    // high byte follows it.
    static constexpr std::size_t LowByteOffset(std::size_t word) {
        return Start(word / kWordsPerRecord) + kData + 4 * (word % kWordsPerRecord);
    }
};

struct TemplateImage {
    std::array<char, kTemplateImageSize> text{};

    std::string_view View() const { return {text.data(), text.size()}; }
    bool operator==(const TemplateImage&) const = default;
};

// A hex digit's value; any other character gives (c - '0') mod 256.
std::uint8_t HexDigitValue(char c);
bool IsHexDigit(char c);
// The byte whose two digits, high digit first, start at `offset`.
std::uint8_t HexByteAt(std::string_view text, std::size_t offset);

// Rewrites the checksums of records 1 to 23 in lower case.
void RecomputeRecordChecksums(TemplateImage& image);

// The first thing wrong with a template's text, with the line it is on,
// or nullopt when records 0 to 127 all have the geometry and checksums
// the image needs. Characters 5760 to 5800 are not looked at.
std::optional<std::string> FindTemplateProblem(std::string_view text);

struct TemplateReadResult {
    std::optional<TemplateImage> image;
    std::string error;  // a sentence for the user that names the file
};

// Makes an image from the bytes of a template file named `name`.
TemplateReadResult TemplateImageFromText(std::string_view text, const std::string& name);
// Reads and checks the template file.
TemplateReadResult ReadTemplateImage(FileAccess& files, const std::string& path = kTemplateFileName);

}  // namespace trovik
