#include "settings/single_byte_text.h"

#include <cstdint>

namespace trovik {

std::string Latin1FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        int length = 0;
        std::uint32_t code = 0;
        if ((lead & 0xE0) == 0xC0) { length = 2; code = lead & 0x1Fu; }
        else if ((lead & 0xF0) == 0xE0) { length = 3; code = lead & 0x0Fu; }
        else if ((lead & 0xF8) == 0xF0) { length = 4; code = lead & 0x07u; }
        bool valid = length != 0 && i + static_cast<std::size_t>(length) <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) valid = false;
            else code = (code << 6) | (next & 0x3Fu);
        }
        if (!valid) {
            // One '?' for the stray byte; resynchronise on the next one.
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
        i += static_cast<std::size_t>(length);
    }
    return out;
}

std::string Utf8FromLatin1(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

char UpperCaseLatin1(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 0x20);
    // à..þ map to À..Þ, except ÷ which has no capital.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char>(c - 0x20);
    return ch;
}

std::string UpperCaseLatin1(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperCaseLatin1(c);
    return out;
}

}  // namespace trovik
