#pragma once

// The program's resources as data: dialog templates with their list
// contents, the string table, the icon and the version information. The
// framework builds windows from these tables; nothing here knows Qt.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace trovik::resources {

enum class ControlKind {
    Edit,
    Static,
    GroupBox,
    PushButton,
    DefaultPushButton,
    AutoCheckBox,
    AutoRadioButton,
    DropDownList,
};

// Style bits of a control. Edit boxes always have a border and scroll
// sideways; drop-down lists always have a vertical scroll bar.
enum ControlStyle : std::uint32_t {
    kVisible = 1u << 0,
    kTabStop = 1u << 1,
    kGroup = 1u << 2,       // starts a new control group
    kDigitsOnly = 1u << 3,  // an edit box that takes only digits from the keyboard
    kUpperCase = 1u << 4,   // an edit box that turns letters into capitals
    kCentered = 1u << 5,    // static text: centred (default: left-aligned)
    kNoPrefix = 1u << 6,    // static text: '&' is shown, not a mnemonic
    kLeftText = 1u << 7,    // check box: the text left of the box
    kSorted = 1u << 8,      // drop-down list: entries kept in alphabetical order
};

// Geometry in dialog units: x and width in quarters of the dialog font's
// average character width, y and height in eighths of its height. A
// drop-down list's height is its height dropped down.
struct DialogControl {
    int id;
    ControlKind kind;
    std::string_view text;
    int x, y, cx, cy;
    std::uint32_t style;
};

struct DialogTemplate {
    int id;
    std::string_view title;
    int cx, cy;  // client area, dialog units
    std::string_view fontName;
    int pointSize;
    std::span<const DialogControl> controls;  // template order: z-order and tab order
};

// One entry of a dialog's initialisation data: a string added to a list.
struct DialogInitEntry {
    int controlId;
    std::string_view text;
};

// A 16-colour picture: one character per pixel, looked up in the palette.
struct IconPaletteEntry {
    char key;
    std::uint32_t rgb;  // 0xRRGGBB
};

struct IconImage {
    int size;  // width and height in pixels
    std::span<const std::string_view> rows;
};

struct IconResource {
    int id;
    std::span<const IconPaletteEntry> palette;
    std::span<const IconImage> images;  // largest first
};

struct VersionString {
    std::string_view key;
    std::string_view value;
};

struct VersionInfo {
    std::array<int, 4> fileVersion;
    std::array<int, 4> productVersion;
    std::string_view language;  // string block, e.g. "040904B0"
    std::span<const VersionString> strings;
    std::string_view Find(std::string_view key) const;
};

const DialogTemplate* FindDialogTemplate(int id);
// The dialog's initialisation data; empty when it has none.
std::span<const DialogInitEntry> FindDialogInit(int dialogId);
// String `id` of the string table; empty when there is none.
std::string_view LoadResourceString(int id);
const IconResource* FindIcon(int id);
const VersionInfo& GetVersionInfo();

}  // namespace trovik::resources
