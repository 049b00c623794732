#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/tracker_settings.h"

namespace trovik {

// Two lower-case hex digits, high digit first.
std::array<char, 2> HexPair(std::uint8_t octet);

// An AX.25 address character: the code shifted left one bit.
std::uint8_t ShiftedChar(std::uint8_t code);

// Fills a callsign with blanks to six characters.
void PadCallsign(std::string& callsign);

// The octets of a callsign's six places; a character of code 0x80 or above
// cannot be an address character and is marked ff.
std::array<std::uint8_t, 6> CallsignOctets(const std::string& paddedCallsign);

// The station's SSID octet; with an empty path the station is the last
// address and carries the end-of-address bit.
std::uint8_t SsidOctet(std::uint8_t ssid, bool pathEmpty);

// Rewrites two-digit SSIDs 10 to 15 ("-12,") as one character ("-<,") so
// that every SSID in the path is a single character. The path must already
// end with ','.
void ConvertPathSsids(std::string& path);
// Appends the separator to both configurations' paths and rewrites them.
void PreparePaths(TrackerSettings& settings);

// Six shifted address characters, then the SSID octet.
using DigipeaterAddress = std::array<std::uint8_t, 7>;
// The three working addresses of one action: seven blanks at its start,
// filled for Configuration 1 and then Configuration 2 without a reset.
using WorkingAddresses = std::array<DigipeaterAddress, 3>;
WorkingAddresses BlankWorkingAddresses();

// Reads up to three elements of a prepared path into the working
// addresses, shortening the path as it goes.
void ParsePath(std::string& preparedPath, WorkingAddresses& addresses);

// TX delay in units of 6.7 ms, truncated.
std::uint8_t TxDelayUnits(int milliseconds);
// Tens of seconds; a remainder of 6 to 9 rounds up, 5 and below down.
std::uint8_t IntervalUnits(int seconds);
// The APRS symbol table identifier: "2F" primary, "5C" alternate.
std::array<char, 2> SymbolTableCode(int useAltIconTable);
// The Mic-E message bits as one hex digit: 7 - messageCode.
char MessageDigit(int messageCode);

}  // namespace trovik
