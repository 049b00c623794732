#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace trovik {

// Texts are single-byte strings (Latin-1 codes), exactly as typed.
struct ProfileSettings {
    int autoIntervalSecs = 180;
    std::string callsign = "MYCALL";
    std::string path = "RELAY,WIDE,WIDE";
    int beaconEvery = 5;
    std::string beaconText;
    std::string iconCode = "3E";
    int useAltIconTable = 0;
    int manualIntervalSecs = 180;
    int quietTimeSecs = 1;
    int slowSpeedFactor = 1;
    std::uint8_t ssid = 0;
    int messageCode = 0;

    bool operator==(const ProfileSettings&) const = default;
};

// Everything the user can set: two configurations that both go into the
// image, the two TX delays they share, and two settings of the tool itself.
struct TrackerSettings {
    TrackerSettings();

    std::array<ProfileSettings, 2> profiles;
    int autoTxDelayMs = 300;
    int manualTxDelayMs = 35;
    int shownProfile = 0;
    int comPortIndex = 0;

    bool operator==(const TrackerSettings&) const = default;
};

// Configuration 1 is profile 0, Configuration 2 profile 1.
ProfileSettings DefaultProfile(int profile);

inline constexpr int kMessageListSize = 8;
// The entries of the message list, in index order ("Priorty" is how the
// list has always spelled it).
inline constexpr std::array<std::string_view, kMessageListSize> kMessageListEntries = {
    "Off Duty", "En Route", "In Service", "Returning",
    "Committed", "Special", "Priorty", "Emergency"};

inline constexpr int kComPortCount = 8;
// The port list of the window: index i is "COM<i+1>".
std::string ComPortName(int comPortIndex);

}  // namespace trovik
