#pragma once

#include <optional>
#include <string_view>

namespace trovik {

// The number text of an int box: leading blanks or tabs, an optional sign,
// one or more digits, then nothing but blanks or tabs. A zero is a number
// only when the first character after the blanks is the digit 0, so "",
// "+", "+0" and "-0" are not numbers. Values beyond the signed 32-bit range
// are clamped to the nearest limit. nullopt means "not a number".
std::optional<int> ParseIntText(std::string_view text);

// The byte box's rule: the same without the minus sign. The value is
// returned as a signed 32-bit number; the caller compares it with 255.
std::optional<int> ParseByteText(std::string_view text);

}  // namespace trovik
