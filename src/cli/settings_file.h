#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/settings_fields.h"
#include "settings/tracker_settings.h"

namespace CLI { class App; }

namespace trovik::cli {

struct CliContext;

struct SettingsLoadResult {
    std::optional<TrackerSettings> settings;
    std::string error;  // the whole message, e.g. "configuration2.ssid: Please enter ..."
};

// Builds settings from a settings file's text (TOML; may be empty) and
// --set overrides, then reads them in the window's reading order with the
// window's checks. `fileName` names the file in messages.
SettingsLoadResult LoadSettings(const std::string& tomlText, const std::string& fileName,
                                const std::vector<std::string>& overrides);

// A remark (UTF-8) written as a comment right above a field's line.
struct SettingsFileNote {
    const SettingsField* field;
    std::string text;
};

// A settings file for the given settings; with comments, a file a user can
// edit. Texts that a settings file cannot carry back are noted by the
// caller: `notes` are written whether or not withComments is set.
std::string WriteSettingsFile(const TrackerSettings& settings, bool withComments,
                              const std::vector<SettingsFileNote>& notes = {});

// The fields in the order a settings file lists them: the shared settings,
// then each configuration's, in the order of the window's controls.
std::vector<const SettingsField*> SettingsFileOrder();
// A field's value as a settings file writes it ("MYCALL" quoted, true,
// "Off Duty").
std::string SettingsValueText(const TrackerSettings& settings, const SettingsField& field);

// The options --settings, --set and --template, shared by the commands
// that build an image.
struct SettingsOptions {
    std::string settingsFile;
    std::vector<std::string> overrides;
    std::string templatePath;

    void AddTo(CLI::App& command, bool withTemplate = true);
    // Reads the settings file and applies the overrides; reports a problem
    // on the error stream and returns nullopt.
    std::optional<TrackerSettings> Load(CliContext& context) const;
};

}  // namespace trovik::cli
