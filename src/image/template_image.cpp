#include "image/template_image.h"

#include <array>
#include <cstdio>

#include "image/field_encoders.h"

namespace trovik {

std::uint8_t HexDigitValue(char c) {
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    return static_cast<std::uint8_t>(static_cast<unsigned char>(c) - 0x30u);
}

std::uint8_t HexByteAt(std::string_view text, std::size_t offset) {
    return static_cast<std::uint8_t>(16 * HexDigitValue(text[offset]) + HexDigitValue(text[offset + 1]));
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

namespace {

// Hex digit values by character; 0xFF for anything that is not a hex digit.
constexpr std::array<std::uint8_t, 256> MakeHexTable() {
    std::array<std::uint8_t, 256> table{};
    for (auto& v : table) v = 0xFF;
    for (int c = '0'; c <= '9'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c) table[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c - 'A' + 10);
    return table;
}
constexpr auto kHexTable = MakeHexTable();


// The 8-bit sum of the byte count, address, type and data bytes.
std::uint8_t RecordSum(std::string_view text, std::size_t start) {
    // Fast path by table; a record holding a character that is not a hex
    // digit (only an unchecked image can) is summed by HexDigitValue's rule.
    const auto* p = reinterpret_cast<const unsigned char*>(text.data()) + start + 1;
    unsigned sum = 0;
    unsigned invalid = 0;
    for (std::size_t k = 0; k < 40; k += 2) {
        invalid |= kHexTable[p[k]] | kHexTable[p[k + 1]];
        sum += 16u * kHexTable[p[k]] + kHexTable[p[k + 1]];
    }
    if (invalid & 0xF0u) {
        sum = 0;
        for (std::size_t k = 0; k < 20; ++k) sum += HexByteAt(text, start + 1 + 2 * k);
    }
    return static_cast<std::uint8_t>(sum);
}

std::string Hex2(unsigned value) {
    char buffer[3];
    std::snprintf(buffer, sizeof buffer, "%02x", value & 0xFFu);
    return buffer;
}

// True when the record has the geometry and checksum an image needs: the
// common case, checked in one pass before any message is made.
bool RecordIsSound(std::string_view line) {
    const auto* p = reinterpret_cast<const unsigned char*>(line.data());
    unsigned sum = 0;
    unsigned invalid = 0;
    for (std::size_t i = ImageRecord::kByteCount; i < ImageRecord::kLineEnd; i += 2) {
        const unsigned hi = kHexTable[p[i]];
        const unsigned lo = kHexTable[p[i + 1]];
        invalid |= hi | lo;
        sum += 16 * hi + lo;
    }
    return (invalid & 0xF0u) == 0 && (sum & 0xFFu) == 0 && p[0] == ':' && p[1] == '1' && p[2] == '0' &&
           p[7] == '0' && p[8] == '0' && p[ImageRecord::kLineEnd] == '\r' &&
           p[ImageRecord::kLineEnd + 1] == '\n';
}

std::optional<std::string> RecordProblem(std::string_view text, std::size_t record) {
    const std::size_t start = ImageRecord::Start(record);
    const std::string_view line = text.substr(start, kRecordLength);
    if (RecordIsSound(line)) return std::nullopt;
    if (line[0] != ':') return std::string("the record does not begin with ':'");
    for (std::size_t i = ImageRecord::kByteCount; i < ImageRecord::kLineEnd; ++i)
        if (!IsHexDigit(line[i]))
            return "character " + std::to_string(i + 1) + " of the record is not a hex digit";
    if (HexByteAt(line, ImageRecord::kByteCount) != 0x10)
        return "the record holds " + std::to_string(HexByteAt(line, ImageRecord::kByteCount)) +
               " data bytes, not 16";
    if (HexByteAt(line, ImageRecord::kType) != 0x00)
        return "the record is of type " + Hex2(HexByteAt(line, ImageRecord::kType)) +
               ", not a data record (00)";
    if (line[ImageRecord::kLineEnd] != '\r' || line[ImageRecord::kLineEnd + 1] != '\n')
        return std::string("the line is not 45 characters long with a CR LF line end");
    const auto expected = static_cast<std::uint8_t>(256 - RecordSum(line, 0));
    const auto stored = HexByteAt(line, ImageRecord::kChecksum);
    return "the record's checksum is " + Hex2(stored) + " but should be " + Hex2(expected);
}

}  // namespace

void RecomputeRecordChecksums(TemplateImage& image) {
    const std::string_view text = image.View();
    for (std::size_t r = 1; r <= 23; ++r) {
        const std::size_t start = ImageRecord::Start(r);
        const auto checksum = static_cast<std::uint8_t>(256 - RecordSum(text, start));
        const auto pair = HexPair(checksum);
        image.text[start + ImageRecord::kChecksum] = pair[0];
        image.text[start + ImageRecord::kChecksum + 1] = pair[1];
    }
}

std::optional<std::string> FindTemplateProblem(std::string_view text) {
    if (text.size() < kTemplateImageSize)
        return "it holds " + std::to_string(text.size()) + " bytes, but a template holds " +
               std::to_string(kTemplateImageSize);
    for (std::size_t r = 0; r < kRecordCount; ++r)
        if (auto problem = RecordProblem(text, r))
            return "line " + std::to_string(r + 1) + ": " + *problem;
    return std::nullopt;
}

TemplateReadResult TemplateImageFromText(std::string_view text, const std::string& name) {
    TemplateReadResult result;
    if (auto problem = FindTemplateProblem(text)) {
        result.error = "The template " + name + " is not usable: " + *problem + ".";
        return result;
    }
    result.image.emplace();
    text.copy(result.image->text.data(), kTemplateImageSize);
    return result;
}

TemplateReadResult ReadTemplateImage(FileAccess& files, const std::string& path) {
    auto read = files.ReadFile(path, kTemplateImageSize);
    if (!read.ok) {
        TemplateReadResult result;
        result.error = "The template " + path + " cannot be read: " + read.reason + ".";
        return result;
    }
    return TemplateImageFromText(read.bytes, path);
}

}  // namespace trovik
