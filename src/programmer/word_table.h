#pragma once

#include <array>
#include <cstdint>

#include "image/template_image.h"

namespace trovik {

// Entry i is the word for the chip's program address i, as converted from
// the image text (bits 14 and 15 included, so a damaged word cannot verify).
using WordTable = std::array<std::uint16_t, kProgramWordCount>;

// Records 0 to 127 in file order give words 0 to 1023; of each word's four
// digits the first two are the low byte. Only the data digits are read.
WordTable BuildWordTable(const TemplateImage& image);

}  // namespace trovik
