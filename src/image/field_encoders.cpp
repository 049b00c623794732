#include "image/field_encoders.h"

#include <string_view>

namespace trovik {

std::array<char, 2> HexPair(std::uint8_t octet) {
    static constexpr char kDigits[] = "0123456789abcdef";
    return {kDigits[octet >> 4], kDigits[octet & 0x0F]};
}

std::uint8_t ShiftedChar(std::uint8_t code) { return static_cast<std::uint8_t>(code << 1); }

void PadCallsign(std::string& callsign) {
    if (callsign.size() < 6) callsign.append(6 - callsign.size(), ' ');
}

std::array<std::uint8_t, 6> CallsignOctets(const std::string& paddedCallsign) {
    std::array<std::uint8_t, 6> octets{};
    for (std::size_t i = 0; i < octets.size(); ++i) {
        const auto code = static_cast<std::uint8_t>(paddedCallsign[i]);
        octets[i] = code >= 0x80 ? 0xFF : ShiftedChar(code);
    }
    return octets;
}

std::uint8_t SsidOctet(std::uint8_t ssid, bool pathEmpty) {
    const auto octet = static_cast<std::uint8_t>((ssid | 0x30) << 1);
    return static_cast<std::uint8_t>(octet + (pathEmpty ? 1 : 0));
}

void ConvertPathSsids(std::string& path) {
    static constexpr std::string_view kPatterns[] = {"-10,", "-11,", "-12,", "-13,", "-14,", "-15,"};
    for (std::size_t k = 0; k < std::size(kPatterns); ++k) {
        const char replacement[] = {'-', static_cast<char>('0' + 10 + k), ','};
        for (;;) {
            const auto at = path.find(kPatterns[k]);
            // An occurrence at the very start is left alone and ends the
            // search for that pattern.
            if (at == std::string::npos || at == 0) break;
            path.replace(at, 4, replacement, 3);
        }
    }
}

void PreparePaths(TrackerSettings& settings) {
    for (auto& profile : settings.profiles) profile.path += ',';
    for (auto& profile : settings.profiles) ConvertPathSsids(profile.path);
}

WorkingAddresses BlankWorkingAddresses() {
    WorkingAddresses addresses;
    for (auto& address : addresses) address.fill(0x20);
    return addresses;
}

namespace {

// Reads one element at the start of the path into the address and returns
// the position of its separator.
std::size_t ReadElement(const std::string& path, DigipeaterAddress& address) {
    std::size_t i = 0;
    while (path[i] != ',' && path[i] != '-') {
        if (i < 6) address[i] = ShiftedChar(static_cast<std::uint8_t>(path[i]));
        ++i;
    }
    for (std::size_t j = i; j < 6; ++j) address[j] = 0x40;
    if (path[i] == '-') {
        address[6] = ShiftedChar(static_cast<std::uint8_t>(path[i + 1]));
        return i + 2;
    }
    address[6] = 0x60;
    return i;
}

// Drops the element whose separator is at `end`.
void RemoveElement(std::string& path, std::size_t end) {
    if (end + 1 >= path.size()) path.clear();
    else path.erase(0, end + 1);
}

}  // namespace

void ParsePath(std::string& path, WorkingAddresses& addresses) {
    // A prepared path always ends with ','; a path that does not (only a
    // caller's mistake could give one) is read as if it did.
    if (!path.empty() && path.back() != ',') path += ',';
    if (path.empty()) return;

    if (path.front() != ',') {
        RemoveElement(path, ReadElement(path, addresses[0]));
        if (path.empty()) {
            addresses[0][6] += 1;
            return;
        }
    }
    RemoveElement(path, ReadElement(path, addresses[1]));
    if (path.empty()) {
        addresses[1][6] += 1;
        return;
    }
    ReadElement(path, addresses[2]);
    addresses[2][6] += 1;
}

std::uint8_t TxDelayUnits(int milliseconds) {
    // Truncated, not rounded: at some multiples of 67 ms the double product
    // lies just below the whole number, and the tracker has always been
    // given the smaller unit count there.
    const double units = milliseconds * 0.14925373134328357;
    return static_cast<std::uint8_t>(static_cast<int>(units));
}

std::uint8_t IntervalUnits(int seconds) {
    int q = seconds / 10;
    const int r = seconds - 10 * q;
    if (r > 5) ++q;
    return static_cast<std::uint8_t>(q);
}

std::array<char, 2> SymbolTableCode(int useAltIconTable) {
    return useAltIconTable ? std::array<char, 2>{'5', 'C'} : std::array<char, 2>{'2', 'F'};
}

char MessageDigit(int messageCode) {
    return static_cast<char>('0' + ((~messageCode) & 7));
}

}  // namespace trovik
