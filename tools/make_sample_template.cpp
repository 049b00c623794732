// Writes the sample template examples/TROVIK.HEX: a made-up firmware image
// with the geometry the tool needs, for trying the tool without a tracker's
// real firmware. Usage: make_sample_template OUTPUT
//
// Words 0-8: a jump past the settings table and an interrupt return.
// Words 9-183: the settings table as RETLW instructions (0x34nn), holding
// the default settings with empty beacon texts (NUL-terminated).
// Words 184-511: filler instructions. Words 512-1023: erased (0x3FFF).
// Then the configuration word 0x3FF2 at byte address 0x400E, the end-of-file
// record and line ends, to 5801 characters in all.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "image/configuration_block.h"
#include "image/template_image.h"

namespace {

std::string HexByte(unsigned value) {
    char buffer[3];
    std::snprintf(buffer, sizeof buffer, "%02X", value & 0xFFu);
    return buffer;
}

std::string DataRecord(unsigned address, const unsigned char* bytes, unsigned count, unsigned type) {
    std::string line = ":" + HexByte(count) + HexByte(address >> 8) + HexByte(address) + HexByte(type);
    unsigned sum = count + (address >> 8) + (address & 0xFF) + type;
    for (unsigned i = 0; i < count; ++i) {
        line += HexByte(bytes[i]);
        sum += bytes[i];
    }
    return line + HexByte(256 - (sum & 0xFF)) + "\r\n";
}

unsigned FillerWord(unsigned n) { return (n * 0x9E37u + 0x1234u) & 0x3FFFu; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_sample_template OUTPUT\n";
        return 2;
    }
    unsigned words[trovik::kProgramWordCount];
    for (unsigned n = 0; n < trovik::kProgramWordCount; ++n) {
        if (n == 0) words[n] = 0x2800 | 184;           // GOTO 184
        else if (n == 4) words[n] = 0x0009;            // RETFIE
        else if (n == 5) words[n] = 0x0782;            // ADDWF PCL,F
        else if (n < 9) words[n] = 0x0000;             // NOP
        else if (n <= 183) words[n] = 0x3400;          // RETLW 0
        else if (n < 512) words[n] = FillerWord(n);
        else words[n] = 0x3FFF;
    }
    std::string text;
    for (unsigned r = 0; r < trovik::kRecordCount; ++r) {
        unsigned char bytes[16];
        for (unsigned w = 0; w < 8; ++w) {
            bytes[2 * w] = static_cast<unsigned char>(words[8 * r + w] & 0xFF);
            bytes[2 * w + 1] = static_cast<unsigned char>(words[8 * r + w] >> 8);
        }
        text += DataRecord(r * 16, bytes, 16, 0);
    }
    const unsigned char configuration[] = {0xF2, 0x3F};
    text += DataRecord(0x400E, configuration, 2, 0);
    text += DataRecord(0, nullptr, 0, 1);
    text += "\r\n\r\n\r\n\r\n\r\n\n";

    // The settings table holds the defaults, with empty beacon texts.
    trovik::TemplateImage image;
    text.copy(image.text.data(), image.text.size());
    trovik::TrackerSettings settings;
    for (auto& profile : settings.profiles) profile.beaconText.clear();
    trovik::PatchConfigurationBlock(image, settings);
    // Every record of the table gets its checksum, in upper case as the
    // rest of the file.
    for (unsigned r = 1; r <= 22; ++r) {
        const std::size_t start = trovik::ImageRecord::Start(r);
        unsigned sum = 0;
        for (std::size_t k = 0; k < 20; ++k)
            sum += 16u * trovik::HexDigitValue(image.text[start + 1 + 2 * k]) +
                   trovik::HexDigitValue(image.text[start + 2 + 2 * k]);
        const std::string checksum = HexByte(256 - (sum & 0xFF));
        image.text[start + 41] = checksum[0];
        image.text[start + 42] = checksum[1];
    }
    for (char& c : image.text)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');

    std::ofstream out(argv[1], std::ios::binary);
    out.write(image.text.data(), static_cast<std::streamsize>(image.text.size()));
    return out ? 0 : 1;
}
