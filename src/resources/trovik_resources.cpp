// The resource script of the program, as tables.

#include <iterator>

#include "resources/resource.h"
#include "resources/resource_data.h"
#include "settings/tracker_settings.h"

namespace trovik::resources {
namespace {

using K = ControlKind;

constexpr std::uint32_t kShown = kVisible;
constexpr std::uint32_t kLabel = kVisible | kGroup;  // static texts start a group
constexpr std::uint32_t kBox = kTabStop;             // an edit box or list, created hidden
constexpr std::uint32_t kNumberBox = kTabStop | kDigitsOnly;
constexpr std::uint32_t kCapitalsBox = kTabStop | kUpperCase;

// Dialog 102: both configurations lie on top of each other; Configuration
// 2's controls start hidden.
constexpr DialogControl kMainDialogControls[] = {
    {IDC_ICON_CODE1, K::Edit, "", 252, 17, 13, 12, kShown | kBox},
    {IDC_AUTO_INTERVAL1, K::Edit, "", 49, 83, 22, 12, kShown | kNumberBox},
    {IDC_MANUAL_INTERVAL1, K::Edit, "", 130, 83, 22, 12, kShown | kNumberBox},
    {IDC_STATIC, K::Static, "Callsign", 15, 19, 29, 8, kLabel},
    {IDC_CALLSIGN1, K::Edit, "", 15, 28, 36, 12, kShown | kCapitalsBox},
    {IDC_SSID1, K::Edit, "", 62, 28, 12, 12, kShown | kNumberBox},
    {IDC_PATH1, K::Edit, "", 84, 29, 76, 12, kShown | kCapitalsBox},
    {IDOK, K::DefaultPushButton, "Program PIC", 9, 204, 60, 18, kShown | kTabStop},
    {IDCANCEL, K::PushButton, "Quit", 229, 204, 60, 18, kShown | kTabStop},
    {IDC_STATIC, K::Static, "SSID", 58, 19, 17, 8, kLabel},
    {IDC_STATIC, K::Static, "Path:", 87, 19, 17, 8, kLabel},
    {IDC_STATIC, K::Static, "Delay Between Auto Transmissions", 27, 64, 74, 18, kLabel | kCentered},
    {IDC_STATIC, K::Static, "Delay Between Manual Transmissions", 108, 64, 74, 18, kLabel | kCentered},
    {IDC_STATIC, K::Static, "Secs", 76, 85, 19, 12, kLabel},
    {IDC_STATIC, K::Static, "Secs", 157, 85, 19, 12, kLabel},
    {IDC_STATIC, K::Static, "Above timings will be rounded to the nearest 10 secs.", 17, 99, 162, 8,
     kLabel | kCentered},
    {IDC_STATIC, K::Static, "Quiet Time: (Secs)", 199, 68, 38, 21, kLabel | kCentered},
    {IDC_QUIET_TIME1, K::Edit, "", 239, 69, 15, 12, kShown | kNumberBox},
    {IDC_STATIC, K::Static, "Slow Speed Factor:", 194, 90, 38, 16, kLabel | kCentered},
    {IDC_SLOW_SPEED1, K::Edit, "", 237, 92, 19, 12, kShown | kNumberBox},
    {IDC_STATIC, K::Static, "Icon Number:", 189, 18, 59, 10, kLabel | kCentered},
    {IDC_ALT_ICON_TABLE1, K::AutoCheckBox, "Use Alt Icon Table", 197, 34, 69, 9, kShown | kTabStop | kLeftText},
    {IDC_STATIC, K::Static, "Beacon Text (50 Characters Max)", 25, 127, 108, 10, kLabel},
    {IDC_BEACON_TEXT1, K::Edit, "", 13, 137, 167, 12, kShown | kBox},
    {IDC_STATIC, K::Static, "Beacon Every", 21, 155, 45, 9, kLabel},
    {IDC_BEACON_EVERY1, K::Edit, "", 68, 154, 16, 12, kShown | kNumberBox},
    {IDC_STATIC, K::Static, "Transmissions", 89, 155, 66, 9, kLabel},
    {IDC_STATIC, K::Static, "Auto TXDelay (ms.):", 16, 189, 68, 10, kLabel},
    {IDC_STATIC, K::Static, "Manual TXDelay (ms.):", 115, 190, 76, 10, kLabel},
    {IDC_MANUAL_TXDELAY, K::Edit, "", 193, 188, 19, 12, kShown | kNumberBox},
    {IDC_AUTO_TXDELAY, K::Edit, "", 85, 187, 19, 12, kShown | kNumberBox},
    {IDC_CALLSIGN2, K::Edit, "", 15, 28, 36, 12, kCapitalsBox},
    {IDC_SSID2, K::Edit, "", 62, 28, 12, 12, kNumberBox},
    {IDC_PATH2, K::Edit, "", 85, 29, 75, 12, kCapitalsBox},
    {IDC_AUTO_INTERVAL2, K::Edit, "", 49, 83, 22, 12, kNumberBox},
    {IDC_MANUAL_INTERVAL2, K::Edit, "", 130, 83, 22, 12, kNumberBox},
    {IDC_QUIET_TIME2, K::Edit, "", 240, 69, 15, 12, kNumberBox},
    {IDC_SLOW_SPEED2, K::Edit, "", 237, 92, 19, 12, kNumberBox},
    {IDC_ICON_CODE2, K::Edit, "", 252, 17, 13, 12, kBox},
    {IDC_ALT_ICON_TABLE2, K::AutoCheckBox, "Use Alt Icon Table", 197, 34, 69, 9, kTabStop | kLeftText},
    {IDC_BEACON_TEXT2, K::Edit, "", 13, 137, 167, 12, kBox},
    {IDC_BEACON_EVERY2, K::Edit, "", 68, 154, 16, 12, kNumberBox},
    {IDC_STATIC, K::Static, "Com Port", 254, 172, 35, 8, kLabel},
    {IDC_CONFIGURATION1, K::AutoRadioButton, "Configuration 1", 49, 172, 63, 11, kShown | kGroup},
    {IDC_CONFIGURATION2, K::AutoRadioButton, "Configuration 2", 122, 172, 64, 11, kShown},
    {IDC_MESSAGE_BITS1, K::DropDownList, "", 207, 138, 58, 87, kShown | kTabStop},
    {IDC_STATIC, K::Static, "Message Bits:", 215, 126, 44, 8, kLabel},
    {IDC_MESSAGE_BITS2, K::DropDownList, "", 208, 138, 58, 85, kTabStop},
    {IDC_STATIC, K::GroupBox, "Identification", 7, 7, 282, 43, kShown},
    {IDC_STATIC, K::GroupBox, "Timing Parameters", 7, 51, 282, 61, kShown},
    {IDC_STATIC, K::GroupBox, "Beacon and Message", 7, 116, 282, 55, kShown},
    {IDC_COM_PORT, K::DropDownList, "", 248, 182, 41, 44, kShown | kTabStop | kSorted},
    {IDC_CREATE_HEX_FILE, K::PushButton, "Create Hex File", 119, 204, 60, 18, kShown | kTabStop},
};

constexpr std::string_view kMakersNotice = "Copyright (C) the Trovik developers";

constexpr DialogControl kAboutControls[] = {
    {IDC_STATIC, K::Static, "Trovik ver 1.0", 40, 10, 119, 8, kLabel | kNoPrefix},
    {IDC_STATIC, K::Static, kMakersNotice, 40, 25, 119, 8, kLabel},
    {IDOK, K::DefaultPushButton, "OK", 178, 7, 32, 14, kShown | kTabStop | kGroup},
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX, "About Trovik", 217, 55, "MS Sans Serif", 8, kAboutControls},
    {IDD_TROVIK_DIALOG, "Trovik  APRS Configuration", 299, 229, "MS Sans Serif", 8, kMainDialogControls},
};

// Dialog 102's lists, in the order the entries are added.
constexpr DialogInitEntry kMainDialogInit[] = {
    {IDC_MESSAGE_BITS1, kMessageListEntries[0]}, {IDC_MESSAGE_BITS1, kMessageListEntries[1]},
    {IDC_MESSAGE_BITS1, kMessageListEntries[2]}, {IDC_MESSAGE_BITS1, kMessageListEntries[3]},
    {IDC_MESSAGE_BITS1, kMessageListEntries[4]}, {IDC_MESSAGE_BITS1, kMessageListEntries[5]},
    {IDC_MESSAGE_BITS1, kMessageListEntries[6]}, {IDC_MESSAGE_BITS1, kMessageListEntries[7]},
    {IDC_MESSAGE_BITS2, kMessageListEntries[0]}, {IDC_MESSAGE_BITS2, kMessageListEntries[1]},
    {IDC_MESSAGE_BITS2, kMessageListEntries[2]}, {IDC_MESSAGE_BITS2, kMessageListEntries[3]},
    {IDC_MESSAGE_BITS2, kMessageListEntries[4]}, {IDC_MESSAGE_BITS2, kMessageListEntries[5]},
    {IDC_MESSAGE_BITS2, kMessageListEntries[6]}, {IDC_MESSAGE_BITS2, kMessageListEntries[7]},
    {IDC_COM_PORT, "COM1"}, {IDC_COM_PORT, "COM2"}, {IDC_COM_PORT, "COM3"}, {IDC_COM_PORT, "COM4"},
    {IDC_COM_PORT, "COM5"}, {IDC_COM_PORT, "COM6"}, {IDC_COM_PORT, "COM7"}, {IDC_COM_PORT, "COM8"},
};

struct StringEntry {
    int id;
    std::string_view text;
};
constexpr StringEntry kStrings[] = {
    {IDS_ABOUTBOX, "&About Trovik..."},
};

// Icon 128, drawn by hand: "Pic" in bright green on red, and a lone P at
// 16 x 16. 'd' is the dark red rim.
constexpr IconPaletteEntry kIconPalette[] = {
    {'r', 0xFF0000},
    {'g', 0x00FF00},
    {'d', 0x800000},
};

constexpr std::string_view kIcon32[] = {
    "dddddddddddddddddddddddddddddddd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "drgggggggggrrrrrrrrrrrrrrrrrrrrd",
    "drgggggggggggrrrrrrrrrrrrrrrrrrd",
    "drggggggggggggrrrrrrrrrrrrrrrrrd",
    "drgggrrrrrrrggrrgggrrrrrrrrrrrrd",
    "drgggrrrrrrrggrrgggrrrrrrrrrrrrd",
    "drgggrrrrrrrggrrgggrrrrrrrrrrrrd",
    "drgggrrrrrrrggrrrrrrrrrrrrrrrrrd",
    "drgggrrrrrrrggrrrrrrrrrrrrrrrrrd",
    "drgggrrrrrrrggrggggrrrrggggggrrd",
    "drgggrrrrrrrggrggggrrgggggggggrd",
    "drggggggggggggrrgggrrgggggggggrd",
    "drgggggggggggrrrgggrggggrrrrggrd",
    "drgggggggggrrrrrgggrggggrrrrrrrd",
    "drgggrrrrrrrrrrrgggrgggrrrrrrrrd",
    "drgggrrrrrrrrrrrgggrgggrrrrrrrrd",
    "drgggrrrrrrrrrrrgggrgggrrrrrrrrd",
    "drgggrrrrrrrrrrrgggrgggrrrrrrrrd",
    "drgggrrrrrrrrrrrgggrggggrrrrrrrd",
    "drgggrrrrrrrrrrrgggrggggrrrrggrd",
    "drgggrrrrrrrrrrrgggrrgggggggggrd",
    "drgggrrrrrrrrrrrgggrrgggggggggrd",
    "dggggggrrrrrrrrgggggrrrggggggrrd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "drrrrrrrrrrrrrrrrrrrrrrrrrrrrrrd",
    "dddddddddddddddddddddddddddddddd",
};

constexpr std::string_view kIcon16[] = {
    "dddddddddddddddd",
    "drrrrrrrrrrrrrrd",
    "drrrgggggggrrrrd",
    "drrrgggggggggrrd",
    "drrrgggrrrrggrrd",
    "drrrgggrrrrggrrd",
    "drrrgggrrrrggrrd",
    "drrrgggrrrrggrrd",
    "drrrgggggggggrrd",
    "drrrgggggggrrrrd",
    "drrrgggrrrrrrrrd",
    "drrrgggrrrrrrrrd",
    "drrrgggrrrrrrrrd",
    "drrrgggrrrrrrrrd",
    "drrrrrrrrrrrrrrd",
    "dddddddddddddddd",
};

constexpr IconImage kMainIconImages[] = {{32, kIcon32}, {16, kIcon16}};
constexpr IconResource kIcons[] = {{IDR_MAINFRAME, kIconPalette, kMainIconImages}};

constexpr VersionString kVersionStrings[] = {
    {"CompanyName", ""},
    {"FileDescription", "Trovik MFC Application"},
    {"FileVersion", "1, 0, 0, 1"},
    {"InternalName", "Trovik"},
    {"LegalCopyright", kMakersNotice},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Trovik.EXE"},
    {"ProductName", "Trovik Application"},
    {"ProductVersion", "1, 0, 0, 1"},
};

constexpr VersionInfo kVersionInfo = {{1, 0, 0, 1}, {1, 0, 0, 1}, "040904B0", kVersionStrings};

}  // namespace

namespace {

// The entry of a resource table with the given id, or null.
template <class Table>
auto FindById(const Table& table, int id) -> decltype(&*std::begin(table)) {
    for (const auto& entry : table)
        if (entry.id == id) return &entry;
    return nullptr;
}

}  // namespace

std::string_view VersionInfo::Find(std::string_view key) const {
    for (const VersionString& s : strings)
        if (s.key == key) return s.value;
    return {};
}

const DialogTemplate* FindDialogTemplate(int id) { return FindById(kDialogs, id); }

std::span<const DialogInitEntry> FindDialogInit(int dialogId) {
    if (dialogId == IDD_TROVIK_DIALOG) return kMainDialogInit;
    return {};
}

std::string_view LoadResourceString(int id) {
    const StringEntry* entry = FindById(kStrings, id);
    return entry != nullptr ? entry->text : std::string_view();
}

const IconResource* FindIcon(int id) { return FindById(kIcons, id); }

const VersionInfo& GetVersionInfo() { return kVersionInfo; }

}  // namespace trovik::resources
