#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "image/template_image.h"

namespace trovik {

// Program words 0 to 1023, word n for the chip's address n.
using ProgramWords = std::array<std::uint16_t, kProgramWordCount>;

// The chip's configuration word lives at 0x2007, byte address 0x400E in a
// hex file.
inline constexpr std::uint16_t kConfigurationWordAddress = 0x2007;

// A word as the messages show it: 0x3ff2.
std::string HexWord(unsigned word);

// Program word n as records 0 to 127 hold it: low byte first.
std::uint16_t ImageProgramWord(const TemplateImage& image, std::size_t word);
ProgramWords ImageProgramWords(const TemplateImage& image);

// The configuration word of an image written by ImageFromWords, or of a
// template that has the same record right after record 127; nullopt when
// the characters there are anything else.
std::optional<std::uint16_t> ImageConfigurationWord(const TemplateImage& image);

// An image in the template's geometry holding the given words: 128 data
// records of 16 bytes, the configuration word's record, the end-of-file
// record and line ends, 5801 characters of valid Intel HEX.
TemplateImage ImageFromWords(const ProgramWords& words, std::uint16_t configurationWord);

}  // namespace trovik
