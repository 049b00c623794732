#include "settings/tracker_settings.h"

namespace trovik {

ProfileSettings DefaultProfile(int profile) {
    ProfileSettings p;
    if (profile == 0) {
        p.beaconText = "Configuration 1 Beacon Text";
    } else {
        p.autoIntervalSecs = 150;
        p.manualIntervalSecs = 150;
        p.ssid = 1;
        p.beaconText = "Configuration 2 Beacon Text";
    }
    return p;
}

TrackerSettings::TrackerSettings() : profiles{DefaultProfile(0), DefaultProfile(1)} {}

std::string ComPortName(int comPortIndex) {
    return "COM" + std::to_string(comPortIndex + 1);
}

}  // namespace trovik
