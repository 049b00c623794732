#include "settings/settings_fields.h"

#include <stdexcept>

#include "settings/number_text.h"

namespace trovik {
namespace {

std::size_t TableIndex(const SettingsField& field) {
    return static_cast<std::size_t>(&field - kSettingsFields.data());
}

template <class Settings>
auto IntMember(Settings& s, const SettingsField& f) -> decltype(&s.autoTxDelayMs) {
    switch (f.id) {
        case FieldId::AutoIntervalSecs: return &s.profiles[f.profile].autoIntervalSecs;
        case FieldId::BeaconEvery: return &s.profiles[f.profile].beaconEvery;
        case FieldId::UseAltIconTable: return &s.profiles[f.profile].useAltIconTable;
        case FieldId::ManualIntervalSecs: return &s.profiles[f.profile].manualIntervalSecs;
        case FieldId::QuietTimeSecs: return &s.profiles[f.profile].quietTimeSecs;
        case FieldId::SlowSpeedFactor: return &s.profiles[f.profile].slowSpeedFactor;
        case FieldId::MessageCode: return &s.profiles[f.profile].messageCode;
        case FieldId::AutoTxDelayMs: return &s.autoTxDelayMs;
        case FieldId::ManualTxDelayMs: return &s.manualTxDelayMs;
        case FieldId::ShownProfile: return &s.shownProfile;
        case FieldId::ComPortIndex: return &s.comPortIndex;
        default: return nullptr;
    }
}

template <class Settings>
auto TextMember(Settings& s, const SettingsField& f) -> decltype(&s.profiles[0].path) {
    switch (f.id) {
        case FieldId::Callsign: return &s.profiles[f.profile].callsign;
        case FieldId::Path: return &s.profiles[f.profile].path;
        case FieldId::BeaconText: return &s.profiles[f.profile].beaconText;
        case FieldId::IconCode: return &s.profiles[f.profile].iconCode;
        default: return nullptr;
    }
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::string_view FieldDescription(FieldId id) {
    switch (id) {
        case FieldId::AutoIntervalSecs: return "Delay between automatic transmissions, in seconds (10 to 2550, rounded to the nearest 10)";
        case FieldId::Callsign: return "Station callsign, at most 6 characters, in capitals";
        case FieldId::Path: return "Digipeater path, at most 27 characters: up to three names, each with an optional -SSID, separated by commas";
        case FieldId::BeaconEvery: return "Send the beacon text every this many transmissions (1 to 255)";
        case FieldId::BeaconText: return "Beacon text, at most 50 characters";
        case FieldId::IconCode: return "Map symbol (icon number) as two hexadecimal digits";
        case FieldId::UseAltIconTable: return "Take the symbol from the alternate symbol table (true or false)";
        case FieldId::ManualIntervalSecs: return "Delay between manual transmissions, in seconds (10 to 2550, rounded to the nearest 10)";
        case FieldId::QuietTimeSecs: return "Quiet time before a transmission, in seconds (0 to 255)";
        case FieldId::SlowSpeedFactor: return "Slow speed factor (1 to 255)";
        case FieldId::Ssid: return "Station SSID (0 to 15)";
        case FieldId::MessageCode: return "Mic-E message: Off Duty, En Route, In Service, Returning, Committed, Special, Priorty or Emergency (or 0 to 7)";
        case FieldId::AutoTxDelayMs: return "TX delay of automatic transmissions in ms (35 to 1700), shared by both configurations";
        case FieldId::ManualTxDelayMs: return "TX delay of manual transmissions in ms (35 to 1700), shared by both configurations";
        case FieldId::ShownProfile: return "Configuration the window shows when it opens: 0 or 1";
        case FieldId::ComPortIndex: return "Serial port for programming: 0 to 7 for COM1 to COM8";
    }
    return {};
}

std::string QualifiedKey(const SettingsField& field) {
    if (field.profile < 0) return std::string(field.key);
    return "configuration" + std::to_string(field.profile + 1) + "." + std::string(field.key);
}

const SettingsField* FindFieldByKey(std::string_view qualifiedKey) {
    for (const auto& f : kSettingsFields)
        if (QualifiedKey(f) == qualifiedKey) return &f;
    return nullptr;
}

const SettingsField* FindFieldByControl(int controlId) {
    for (const auto& f : kSettingsFields)
        if (f.controlId == controlId) return &f;
    return nullptr;
}

const SettingsField& FindField(FieldId id, int profile) {
    for (const auto& f : kSettingsFields)
        if (f.id == id && (f.profile == profile || f.profile < 0)) return f;
    throw std::logic_error("no such settings field");
}

std::string IntegerMessage() { return "Please enter an integer."; }

std::string RangeMessage(int lowest, int highest) {
    return "Please enter an integer between " + std::to_string(lowest) + " and " +
           std::to_string(highest) + ".";
}

std::string ByteMessage() { return RangeMessage(0, 255); }

std::string LengthMessage(int limit) {
    return "Please enter no more than " + std::to_string(limit) + " characters.";
}

std::string IconCodeMessage() { return "Please enter the icon number as two hexadecimal digits."; }

std::string FieldText(const TrackerSettings& settings, const SettingsField& field) {
    if (field.kind == FieldKind::Text) return *TextMember(settings, field);
    if (field.kind == FieldKind::Byte) return std::to_string(settings.profiles[field.profile].ssid);
    return std::to_string(*IntMember(settings, field));
}

int FieldIndex(const TrackerSettings& settings, const SettingsField& field) {
    if (field.kind == FieldKind::Byte) return settings.profiles[field.profile].ssid;
    if (field.kind == FieldKind::Text) throw std::logic_error("a text field has no index");
    return *IntMember(settings, field);
}

std::optional<std::string> ReadFieldText(TrackerSettings& settings, const SettingsField& field,
                                         std::string_view text) {
    switch (field.kind) {
        case FieldKind::Int: {
            const auto value = ParseIntText(text);
            if (!value) return IntegerMessage();
            *IntMember(settings, field) = *value;
            if (*value < field.lowest || *value > field.highest)
                return RangeMessage(field.lowest, field.highest);
            return std::nullopt;
        }
        case FieldKind::Byte: {
            const auto value = ParseByteText(text);
            if (!value || *value > 255) return ByteMessage();
            settings.profiles[field.profile].ssid = static_cast<std::uint8_t>(*value);
            if (*value < field.lowest || *value > field.highest)
                return RangeMessage(field.lowest, field.highest);
            return std::nullopt;
        }
        case FieldKind::Text: {
            *TextMember(settings, field) = std::string(text);
            if (text.size() > static_cast<std::size_t>(field.highest))
                return LengthMessage(field.highest);
            // Two hex digits are what the image needs at the icon's place;
            // anything else would write a broken record.
            if (field.id == FieldId::IconCode &&
                (text.size() != 2 || !IsHexDigit(text[0]) || !IsHexDigit(text[1])))
                return IconCodeMessage();
            return std::nullopt;
        }
        case FieldKind::Flag:
        case FieldKind::Index:
            break;
    }
    throw std::logic_error("a flag or index is not read from text");
}

void ReadFieldIndex(TrackerSettings& settings, const SettingsField& field, int value) {
    int* member = IntMember(settings, field);
    if (member == nullptr || (field.kind != FieldKind::Flag && field.kind != FieldKind::Index))
        throw std::logic_error("not a flag or index field");
    *member = value;
}

void SetFieldNumber(TrackerSettings& settings, const SettingsField& field, int value) {
    if (field.kind == FieldKind::Byte) {
        settings.profiles[field.profile].ssid = static_cast<std::uint8_t>(value);
        return;
    }
    int* member = IntMember(settings, field);
    if (member == nullptr) throw std::logic_error("a text field has no number");
    *member = value;
}

std::optional<FieldError> ReadSettings(const SettingsSource& source, TrackerSettings& settings) {
    for (const auto& field : kSettingsFields) {
        if (field.kind == FieldKind::Flag || field.kind == FieldKind::Index) {
            ReadFieldIndex(settings, field, source.Index(field));
            continue;
        }
        if (auto message = ReadFieldText(settings, field, source.Text(field)))
            return FieldError{&field, std::move(*message)};
    }
    return std::nullopt;
}

SettingsForm::SettingsForm(const TrackerSettings& settings) {
    for (const auto& field : kSettingsFields) {
        const auto i = TableIndex(field);
        if (field.kind == FieldKind::Flag || field.kind == FieldKind::Index)
            indexes_[i] = FieldIndex(settings, field);
        else
            texts_[i] = FieldText(settings, field);
    }
}

std::string SettingsForm::Text(const SettingsField& field) const { return texts_[TableIndex(field)]; }
int SettingsForm::Index(const SettingsField& field) const { return indexes_[TableIndex(field)]; }
void SettingsForm::SetText(const SettingsField& field, std::string text) {
    texts_[TableIndex(field)] = std::move(text);
}
void SettingsForm::SetIndex(const SettingsField& field, int value) { indexes_[TableIndex(field)] = value; }

}  // namespace trovik
