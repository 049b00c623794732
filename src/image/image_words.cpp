#include "image/image_words.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace trovik {
namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";

void AppendByte(std::string& line, unsigned value, unsigned& sum) {
    line += kUpperDigits[(value >> 4) & 0xF];
    line += kUpperDigits[value & 0xF];
    sum += value & 0xFF;
}

// One Intel HEX record with its checksum and a CR LF line end, in upper
// case like the sample template.
std::string Record(unsigned address, unsigned type, const std::uint8_t* bytes, unsigned count) {
    std::string line = ":";
    unsigned sum = 0;
    AppendByte(line, count, sum);
    AppendByte(line, address >> 8, sum);
    AppendByte(line, address & 0xFF, sum);
    AppendByte(line, type, sum);
    for (unsigned i = 0; i < count; ++i) AppendByte(line, bytes[i], sum);
    unsigned ignored = 0;
    AppendByte(line, (256 - (sum & 0xFF)) & 0xFF, ignored);
    return line + "\r\n";
}

}  // namespace

std::string HexWord(unsigned word) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04x", word & 0xFFFFU);
    return text;
}

std::uint16_t ImageProgramWord(const TemplateImage& image, std::size_t word) {
    const std::string_view text = image.View();
    const std::size_t at = ImageRecord::LowByteOffset(word);
    return static_cast<std::uint16_t>(HexByteAt(text, at) | (HexByteAt(text, at + 2) << 8));
}

ProgramWords ImageProgramWords(const TemplateImage& image) {
    ProgramWords words{};
    for (std::size_t n = 0; n < words.size(); ++n) words[n] = ImageProgramWord(image, n);
    return words;
}

std::optional<std::uint16_t> ImageConfigurationWord(const TemplateImage& image) {
    const std::string_view record = image.View().substr(kRecordsEnd, 17);
    if (record.size() < 17 || record[0] != ':' || record[15] != '\r' || record[16] != '\n') return std::nullopt;
    for (std::size_t i = 1; i < 15; ++i)
        if (!IsHexDigit(record[i])) return std::nullopt;
    // Two data bytes at byte address 0x400E, type 00, and a checksum that adds up.
    if (HexByteAt(record, 1) != 2 || HexByteAt(record, 3) != 0x40 || HexByteAt(record, 5) != 0x0E || HexByteAt(record, 7) != 0)
        return std::nullopt;
    unsigned sum = 0;
    for (std::size_t k = 0; k < 7; ++k) sum += HexByteAt(record, 1 + 2 * k);
    if ((sum & 0xFF) != 0) return std::nullopt;
    return static_cast<std::uint16_t>(HexByteAt(record, 9) | (HexByteAt(record, 11) << 8));
}

TemplateImage ImageFromWords(const ProgramWords& words, std::uint16_t configurationWord) {
    std::string text;
    text.reserve(kTemplateImageSize);
    for (std::size_t r = 0; r < kRecordCount; ++r) {
        std::uint8_t bytes[2 * kWordsPerRecord];
        for (std::size_t w = 0; w < kWordsPerRecord; ++w) {
            const std::uint16_t word = words[kWordsPerRecord * r + w];
            bytes[2 * w] = static_cast<std::uint8_t>(word & 0xFF);
            bytes[2 * w + 1] = static_cast<std::uint8_t>(word >> 8);
        }
        text += Record(static_cast<unsigned>(r * 2 * kWordsPerRecord), 0, bytes, sizeof bytes);
    }
    const std::uint8_t configuration[] = {static_cast<std::uint8_t>(configurationWord & 0xFF),
                                          static_cast<std::uint8_t>(configurationWord >> 8)};
    text += Record(2u * kConfigurationWordAddress, 0, configuration, 2);
    text += Record(0, 1, nullptr, 0);
    // Blank lines fill the rest, as in the sample template.
    while (text.size() + 2 < kTemplateImageSize) text += "\r\n";
    if (text.size() < kTemplateImageSize) text += '\n';
    TemplateImage image;
    text.copy(image.text.data(), kTemplateImageSize);
    return image;
}

}  // namespace trovik
