#pragma once

#include "image/image_words.h"

namespace trovik {

// Entry i is the word for the chip's program address i, as converted from
// the image text (bits 14 and 15 included, so a damaged word cannot verify).
using WordTable = ProgramWords;

// Records 0 to 127 in file order give words 0 to 1023; of each word's four
// digits the first two are the low byte. Only the data digits are read.
inline WordTable BuildWordTable(const TemplateImage& image) { return ImageProgramWords(image); }

}  // namespace trovik
