#include "programmer/word_table.h"

namespace trovik {

namespace {

unsigned ByteAt(const TemplateImage& image, std::size_t offset) {
    return 16U * HexDigitValue(image.text[offset]) + HexDigitValue(image.text[offset + 1]);
}

}  // namespace

WordTable BuildWordTable(const TemplateImage& image) {
    WordTable table{};
    for (std::size_t word = 0; word < table.size(); ++word) {
        const std::size_t low = ImageRecord::LowByteOffset(word);
        table[word] = static_cast<std::uint16_t>(256U * (ByteAt(image, low + 2) & 0xFFU) +
                                                 (ByteAt(image, low) & 0xFFU));
    }
    return table;
}

}  // namespace trovik
