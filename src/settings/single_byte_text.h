#pragma once

#include <string>
#include <string_view>

namespace trovik {

// The settings hold single-byte (Latin-1) texts. Characters with a Latin-1
// code keep it; any other character, and any malformed UTF-8, becomes '?'.
std::string Latin1FromUtf8(std::string_view utf8);
std::string Utf8FromLatin1(std::string_view latin1);

// Capitals as the callsign and path boxes type them: a-z and the Latin-1
// small letters that have a Latin-1 capital.
char UpperCaseLatin1(char c);
std::string UpperCaseLatin1(std::string_view text);

}  // namespace trovik
