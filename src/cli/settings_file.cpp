#include "cli/settings_file.h"

#include <cstdio>
#include <sstream>

#include <CLI/CLI.hpp>
#include <toml++/toml.h>

#include "cli/cli_command.h"
#include "image/template_image.h"
#include "settings/settings_fields.h"
#include "settings/single_byte_text.h"

namespace trovik::cli {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::optional<int> MessageCodeFromText(std::string_view text) {
    for (int i = 0; i < kMessageListSize; ++i)
        if (EqualsIgnoringCase(text, kMessageListEntries[static_cast<std::size_t>(i)])) return i;
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '7') return text[0] - '0';
    return std::nullopt;
}

std::string AcceptedIndexValues(const SettingsField& field) {
    switch (field.id) {
        case FieldId::UseAltIconTable: return "true, false, 0 or 1";
        case FieldId::MessageCode:
            return "0 to 7 or one of \"Off Duty\", \"En Route\", \"In Service\", \"Returning\", "
                   "\"Committed\", \"Special\", \"Priorty\", \"Emergency\"";
        case FieldId::ShownProfile: return "0 or 1";
        default: return "an integer";
    }
}

// An index or flag value given as an integer.
std::optional<std::string> CheckIndex(const SettingsField& field, long long value) {
    if (field.id == FieldId::ComPortIndex) {
        if (value < -2147483648LL || value > 2147483647LL) return "expected " + AcceptedIndexValues(field);
        return std::nullopt;
    }
    if (value < field.lowest || value > field.highest) return "expected " + AcceptedIndexValues(field);
    return std::nullopt;
}

// A box's text: what the user would have typed into the window.
std::string BoxText(const SettingsField& field, std::string_view utf8) {
    std::string text = Latin1FromUtf8(utf8);
    return field.upperCase ? UpperCaseLatin1(text) : text;
}

// Applies one value given as text (from --set, or a TOML string).
std::optional<std::string> ApplyText(SettingsForm& form, const SettingsField& field, std::string_view text) {
    if (field.kind == FieldKind::Int || field.kind == FieldKind::Byte || field.kind == FieldKind::Text) {
        form.SetText(field, BoxText(field, text));
        return std::nullopt;
    }
    if (field.id == FieldId::MessageCode) {
        const auto code = MessageCodeFromText(text);
        if (!code) return "expected " + AcceptedIndexValues(field);
        form.SetIndex(field, *code);
        return std::nullopt;
    }
    if (field.id == FieldId::UseAltIconTable) {
        if (text == "true" || text == "1") form.SetIndex(field, 1);
        else if (text == "false" || text == "0") form.SetIndex(field, 0);
        else return "expected " + AcceptedIndexValues(field);
        return std::nullopt;
    }
    long long value = 0;
    std::size_t used = 0;
    try {
        value = std::stoll(std::string(text), &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size()) return "expected " + AcceptedIndexValues(field);
    if (auto problem = CheckIndex(field, value)) return problem;
    form.SetIndex(field, static_cast<int>(value));
    return std::nullopt;
}

std::string TypeName(const toml::node& node) {
    switch (node.type()) {
        case toml::node_type::string: return "a string";
        case toml::node_type::integer: return "an integer";
        case toml::node_type::floating_point: return "a floating-point number";
        case toml::node_type::boolean: return "a boolean";
        case toml::node_type::table: return "a table";
        case toml::node_type::array: return "an array";
        default: return "a date or time";
    }
}

std::optional<std::string> ApplyNode(SettingsForm& form, const SettingsField& field, const toml::node& node) {
    const bool numeric = field.kind == FieldKind::Int || field.kind == FieldKind::Byte;
    if (auto s = node.as_string()) {
        if (field.kind == FieldKind::Flag) return "expected true or false, not " + TypeName(node);
        if (field.kind == FieldKind::Index && field.id != FieldId::MessageCode)
            return "expected an integer, not " + TypeName(node);
        return ApplyText(form, field, s->get());
    }
    if (auto i = node.as_integer()) {
        if (field.kind == FieldKind::Text) return "expected a string, not " + TypeName(node);
        if (numeric) {
            form.SetText(field, std::to_string(i->get()));
            return std::nullopt;
        }
        if (auto problem = CheckIndex(field, i->get())) return problem;
        form.SetIndex(field, static_cast<int>(i->get()));
        return std::nullopt;
    }
    if (auto b = node.as_boolean()) {
        if (field.kind != FieldKind::Flag) return "expected " + std::string(numeric ? "an integer or a string" : field.kind == FieldKind::Text ? "a string" : "an integer") + ", not " + TypeName(node);
        form.SetIndex(field, b->get() ? 1 : 0);
        return std::nullopt;
    }
    switch (field.kind) {
        case FieldKind::Int:
        case FieldKind::Byte: return "expected an integer or a string, not " + TypeName(node);
        case FieldKind::Text: return "expected a string, not " + TypeName(node);
        case FieldKind::Flag: return "expected true or false, not " + TypeName(node);
        case FieldKind::Index: return "expected " + AcceptedIndexValues(field) + ", not " + TypeName(node);
    }
    return std::nullopt;
}

std::optional<std::string> ApplyTable(SettingsForm& form, const toml::table& table, const std::string& prefix) {
    for (const auto& [key, node] : table) {
        const std::string name = prefix + std::string(key.str());
        if (prefix.empty() && (key.str() == "configuration1" || key.str() == "configuration2")) {
            const auto* inner = node.as_table();
            if (!inner) return name + ": expected a table, not " + TypeName(node);
            if (auto problem = ApplyTable(form, *inner, name + ".")) return problem;
            continue;
        }
        const SettingsField* field = FindFieldByKey(name);
        if (!field) {
            if (node.is_table()) return "unknown table [" + name + "]";
            return "unknown key '" + name + "'";
        }
        if (auto problem = ApplyNode(form, *field, node)) return name + ": " + *problem;
    }
    return std::nullopt;
}

std::string Quoted(std::string_view latin1) {
    std::string out = "\"";
    for (char ch : Utf8FromLatin1(latin1)) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"') out += "\\\"";
        else if (ch == '\\') out += "\\\\";
        else if (ch == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", c);
            out += buffer;
        } else out += ch;
    }
    return out + "\"";
}

}  // namespace

SettingsLoadResult LoadSettings(const std::string& tomlText, const std::string& fileName,
                                const std::vector<std::string>& overrides) {
    SettingsLoadResult result;
    SettingsForm form;
    if (!tomlText.empty()) {
        toml::table table;
        try {
            table = toml::parse(tomlText, fileName);
        } catch (const toml::parse_error& e) {
            std::ostringstream message;
            message << fileName << ":" << e.source().begin.line << ":" << e.source().begin.column << ": "
                    << e.description();
            result.error = message.str();
            return result;
        }
        if (auto problem = ApplyTable(form, table, "")) {
            result.error = fileName + ": " + *problem;
            return result;
        }
    }
    for (const std::string& assignment : overrides) {
        const auto equals = assignment.find('=');
        if (equals == std::string::npos) {
            result.error = "--set " + assignment + ": expected KEY=VALUE";
            return result;
        }
        const std::string key = assignment.substr(0, equals);
        const SettingsField* field = FindFieldByKey(key);
        if (!field) {
            result.error = "--set: unknown key '" + key + "'";
            return result;
        }
        if (auto problem = ApplyText(form, *field, std::string_view(assignment).substr(equals + 1))) {
            result.error = "--set " + key + ": " + *problem;
            return result;
        }
    }
    TrackerSettings settings;
    if (auto failure = ReadSettings(form, settings)) {
        result.error = QualifiedKey(*failure->field) + ": " + failure->message;
        return result;
    }
    result.settings = settings;
    return result;
}

std::string WriteSettingsFile(const TrackerSettings& settings, bool withComments,
                              const std::vector<SettingsFileNote>& notes) {
    std::ostringstream out;
    if (withComments)
        out << "# Trovik settings. Every key is optional: a key left out keeps its default.\n"
               "# A number may also be written as a string, read exactly as typed into the\n"
               "# window's box (\" 00042 \" is 42).\n";
    auto writeField = [&](const SettingsField& field) {
        if (withComments) out << "\n# " << FieldDescription(field.id) << "\n";
        for (const SettingsFileNote& note : notes)
            if (note.field == &field) out << "# Note: " << note.text << "\n";
        out << field.key << " = " << SettingsValueText(settings, field) << "\n";
    };
    int profile = -1;
    for (const SettingsField* field : SettingsFileOrder()) {
        if (field->profile != profile) {
            profile = field->profile;
            out << "\n[configuration" << profile + 1 << "]\n";
        }
        writeField(*field);
    }
    return out.str();
}

std::vector<const SettingsField*> SettingsFileOrder() {
    // The order of the window's controls, not the reading order: the
    // shared settings first, then each configuration's.
    static constexpr FieldId kSharedOrder[] = {FieldId::AutoTxDelayMs, FieldId::ManualTxDelayMs,
                                               FieldId::ComPortIndex, FieldId::ShownProfile};
    static constexpr FieldId kProfileOrder[] = {
        FieldId::Callsign, FieldId::Ssid, FieldId::Path, FieldId::AutoIntervalSecs,
        FieldId::ManualIntervalSecs, FieldId::QuietTimeSecs, FieldId::SlowSpeedFactor,
        FieldId::IconCode, FieldId::UseAltIconTable, FieldId::MessageCode,
        FieldId::BeaconText, FieldId::BeaconEvery};
    std::vector<const SettingsField*> order;
    for (FieldId id : kSharedOrder) order.push_back(&FindField(id, -1));
    for (int profile = 0; profile < 2; ++profile)
        for (FieldId id : kProfileOrder) order.push_back(&FindField(id, profile));
    return order;
}

std::string SettingsValueText(const TrackerSettings& settings, const SettingsField& field) {
    switch (field.kind) {
        case FieldKind::Text: return Quoted(FieldText(settings, field));
        case FieldKind::Flag: return FieldIndex(settings, field) ? "true" : "false";
        case FieldKind::Index:
            if (field.id == FieldId::MessageCode) {
                const int code = FieldIndex(settings, field);
                if (code >= 0 && code < kMessageListSize)
                    return Quoted(kMessageListEntries[static_cast<std::size_t>(code)]);
            }
            return FieldText(settings, field);
        default: return FieldText(settings, field);
    }
}

void SettingsOptions::AddTo(CLI::App& command, bool withTemplate) {
    command.add_option("--settings", settingsFile, "Settings file (TOML); see 'trovik-cli defaults'")
        ->type_name("FILE");
    command.add_option("--set", overrides,
                       "Override one setting, the value as typed into the window's box "
                       "(e.g. configuration1.ssid=5); may be repeated")
        ->type_name("KEY=VALUE")
        ->allow_extra_args(false);
    if (withTemplate) {
        templatePath = kTemplateFileName;
        command.add_option("--template", templatePath, "Firmware template")
            ->type_name("PATH")
            ->capture_default_str();
    }
}

std::optional<TrackerSettings> SettingsOptions::Load(CliContext& context) const {
    std::string text;
    if (!settingsFile.empty()) {
        auto read = context.files.ReadFile(settingsFile, 1 << 20);
        if (!read.ok) {
            ReportError(context, "cannot read the settings file " + settingsFile + ": " + read.reason);
            return std::nullopt;
        }
        text = std::move(read.bytes);
    }
    SettingsLoadResult loaded = LoadSettings(text, settingsFile.empty() ? "settings" : settingsFile, overrides);
    if (!loaded.settings) {
        ReportError(context, loaded.error);
        return std::nullopt;
    }
    return loaded.settings;
}

}  // namespace trovik::cli
