#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/tracker_settings.h"

namespace trovik {

enum class FieldKind {
    Int,    // signed 32-bit number text with a range
    Byte,   // unsigned 8-bit number text with a range (the SSID)
    Text,   // single-byte text with a character limit
    Flag,   // a check box: 0 or 1
    Index,  // a radio group or list: the zero-based entry
};

enum class FieldId {
    AutoIntervalSecs, Callsign, Path, BeaconEvery, BeaconText, IconCode,
    UseAltIconTable, ManualIntervalSecs, QuietTimeSecs, SlowSpeedFactor,
    Ssid, MessageCode, AutoTxDelayMs, ManualTxDelayMs, ShownProfile, ComPortIndex,
};

// One field of the settings as the window shows it and the CLI names it.
struct SettingsField {
    int controlId;
    FieldId id;
    int profile;            // 0 or 1 for a configuration's field, -1 otherwise
    std::string_view key;   // the field's name, as in settings files
    FieldKind kind;
    int lowest;             // accepted values (Int, Byte)
    int highest;            // accepted values (Int, Byte); character limit (Text)
    bool upperCase;         // typed in capitals (callsign and path)
};

inline constexpr int kSettingsFieldCount = 28;

// The 28 fields in the order they are read, which decides the one message a
// user sees when several fields are wrong. The window's data exchange and the
// command line both walk this table.
inline constexpr std::array<SettingsField, kSettingsFieldCount> kSettingsFields = {{
    {1004, FieldId::AutoIntervalSecs, 0, "autoIntervalSecs", FieldKind::Int, 10, 2550, false},
    {1025, FieldId::AutoIntervalSecs, 1, "autoIntervalSecs", FieldKind::Int, 10, 2550, false},
    {1021, FieldId::AutoTxDelayMs, -1, "autoTxDelayMs", FieldKind::Int, 35, 1700, false},
    {1020, FieldId::ManualTxDelayMs, -1, "manualTxDelayMs", FieldKind::Int, 35, 1700, false},
    {1001, FieldId::Callsign, 0, "callsign", FieldKind::Text, 0, 6, true},
    {1022, FieldId::Callsign, 1, "callsign", FieldKind::Text, 0, 6, true},
    {1003, FieldId::Path, 0, "path", FieldKind::Text, 0, 27, true},
    {1024, FieldId::Path, 1, "path", FieldKind::Text, 0, 27, true},
    {1019, FieldId::BeaconEvery, 0, "beaconEvery", FieldKind::Int, 1, 255, false},
    {1040, FieldId::BeaconEvery, 1, "beaconEvery", FieldKind::Int, 1, 255, false},
    {1018, FieldId::BeaconText, 0, "beaconText", FieldKind::Text, 0, 50, false},
    {1039, FieldId::BeaconText, 1, "beaconText", FieldKind::Text, 0, 50, false},
    {1008, FieldId::IconCode, 0, "iconCode", FieldKind::Text, 0, 2, false},
    {1029, FieldId::IconCode, 1, "iconCode", FieldKind::Text, 0, 2, false},
    {1009, FieldId::UseAltIconTable, 0, "useAltIconTable", FieldKind::Flag, 0, 1, false},
    {1030, FieldId::UseAltIconTable, 1, "useAltIconTable", FieldKind::Flag, 0, 1, false},
    {1005, FieldId::ManualIntervalSecs, 0, "manualIntervalSecs", FieldKind::Int, 10, 2550, false},
    {1026, FieldId::ManualIntervalSecs, 1, "manualIntervalSecs", FieldKind::Int, 10, 2550, false},
    {1006, FieldId::QuietTimeSecs, 0, "quietTimeSecs", FieldKind::Int, 0, 255, false},
    {1027, FieldId::QuietTimeSecs, 1, "quietTimeSecs", FieldKind::Int, 0, 255, false},
    {1007, FieldId::SlowSpeedFactor, 0, "slowSpeedFactor", FieldKind::Int, 1, 255, false},
    {1028, FieldId::SlowSpeedFactor, 1, "slowSpeedFactor", FieldKind::Int, 1, 255, false},
    {1002, FieldId::Ssid, 0, "ssid", FieldKind::Byte, 0, 15, false},
    {1023, FieldId::Ssid, 1, "ssid", FieldKind::Byte, 0, 15, false},
    {1049, FieldId::ShownProfile, -1, "shownProfile", FieldKind::Index, 0, 1, false},
    {1051, FieldId::MessageCode, 0, "messageCode", FieldKind::Index, 0, kMessageListSize - 1, false},
    {1052, FieldId::MessageCode, 1, "messageCode", FieldKind::Index, 0, kMessageListSize - 1, false},
    {1041, FieldId::ComPortIndex, -1, "comPortIndex", FieldKind::Index, 0, kComPortCount - 1, false},
}};

// What a field means, in a line: for settings files and the window's help.
std::string_view FieldDescription(FieldId id);

// "configuration2.ssid" for a configuration's field, "autoTxDelayMs" otherwise.
std::string QualifiedKey(const SettingsField& field);
const SettingsField* FindFieldByKey(std::string_view qualifiedKey);
const SettingsField* FindFieldByControl(int controlId);
const SettingsField& FindField(FieldId id, int profile);

// The messages a reading shows, word for word.
std::string IntegerMessage();                       // an int box that holds no number
std::string RangeMessage(int lowest, int highest);  // a number outside the accepted values
std::string ByteMessage();                          // a byte box that holds no byte
std::string LengthMessage(int limit);               // a text beyond its limit
std::string IconCodeMessage();                      // an icon number that is not two hex digits

// A field's value as its box shows it: decimal for numbers, the text itself
// for texts, the index for flags and lists.
std::string FieldText(const TrackerSettings& settings, const SettingsField& field);
int FieldIndex(const TrackerSettings& settings, const SettingsField& field);

// Reads a box's text into the field with the field's checks. Returns the
// message to show when the text is rejected. Like the window, a rejected
// number or text is still stored, and nothing uses the record until a whole
// reading has succeeded.
std::optional<std::string> ReadFieldText(TrackerSettings& settings, const SettingsField& field,
                                         std::string_view text);
// Flags and indexes are taken without checks.
void ReadFieldIndex(TrackerSettings& settings, const SettingsField& field, int value);
// Sets any field but a text to a number as it stands, without checks: for
// values that come from elsewhere than a box (an image being decoded).
void SetFieldNumber(TrackerSettings& settings, const SettingsField& field, int value);

// Where a reading takes its values from: the window's controls, or the
// command line's settings.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    virtual std::string Text(const SettingsField& field) const = 0;   // Int, Byte, Text
    virtual int Index(const SettingsField& field) const = 0;          // Flag, Index
};

struct FieldError {
    const SettingsField* field;
    std::string message;
};

// Reads every field in reading order and stops at the first one rejected.
std::optional<FieldError> ReadSettings(const SettingsSource& source, TrackerSettings& settings);

// The values of all 28 boxes, as loading the record into them would show.
class SettingsForm : public SettingsSource {
public:
    explicit SettingsForm(const TrackerSettings& settings = TrackerSettings());

    std::string Text(const SettingsField& field) const override;
    int Index(const SettingsField& field) const override;
    void SetText(const SettingsField& field, std::string text);
    void SetIndex(const SettingsField& field, int value);

private:
    std::array<std::string, kSettingsFieldCount> texts_;
    std::array<int, kSettingsFieldCount> indexes_{};
};

}  // namespace trovik
