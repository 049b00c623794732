#include "settings/number_text.h"

#include <climits>
#include <cstdint>

namespace trovik {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<int> ParseNumberText(std::string_view text, bool allowMinus) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t first = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            if (!allowMinus) return std::nullopt;
            negative = true;
        }
        ++i;
    }
    const std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    while (i < text.size() && IsDigit(text[i])) {
        // Saturate well past the 32-bit range; the exact size beyond it
        // does not matter, only that it clamps.
        if (magnitude <= std::int64_t{INT_MAX} + 1)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart) return std::nullopt;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i != text.size()) return std::nullopt;
    if (magnitude == 0 && text[first] != '0') return std::nullopt;

    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

std::optional<int> ParseIntText(std::string_view text) { return ParseNumberText(text, true); }

std::optional<int> ParseByteText(std::string_view text) { return ParseNumberText(text, false); }

}  // namespace trovik
