#include "cli/decode_command.h"

#include <ostream>
#include <set>

#include <CLI/CLI.hpp>

#include "cli/image_file.h"
#include "cli/settings_file.h"
#include "image/configuration_decode.h"

namespace trovik::cli {

CLI::App* DecodeCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "decode", "Print the settings an image holds, as a settings file that 'export --settings' takes back");
    command->add_option("IMAGE", imagePath_, "Image in the template's geometry (an export, a read-back or a template)")
        ->type_name("FILE")
        ->required();
    command->add_option("--output", outputPath_, "Write the settings file here instead of printing it")
        ->type_name("FILE");
    command->add_flag("--comments", comments_, "Describe every setting, as 'defaults' does");
    command->footer(
        "What the image holds that a settings file cannot carry back exactly is said in\n"
        "'# Note:' comments, never guessed silently.\n"
        "Exit codes: 0 decoded; 2 bad usage; 3 the image cannot be read or is not in the\n"
        "template's geometry, or the output cannot be written.");
    return command;
}

int DecodeCommand::Run(CliContext& context) {
    const ImageFileResult read = ReadImageFile(context.files, imagePath_);
    if (!read.image) {
        ReportError(context, read.error);
        return kExitFile;
    }
    const DecodedSettings decoded = DecodeConfigurationBlock(*read.image);

    std::vector<SettingsFileNote> notes;
    for (const DecodeNote& note : decoded.notes) notes.push_back({&FindField(note.field, note.profile), note.text});
    for (FieldId toolSetting : {FieldId::ShownProfile, FieldId::ComPortIndex})
        notes.push_back({&FindField(toolSetting, -1), "Not stored in an image: the default."});

    std::set<const SettingsField*> noted;  // settings not read back exactly
    for (const DecodeNote& note : decoded.notes)
        if (!note.remark) noted.insert(&FindField(note.field, note.profile));

    std::string text = "# Settings read back from " + imagePath_ + ".\n";
    if (!noted.empty())
        text += "# The notes say what the image holds that these settings do not carry back exactly.\n";
    if (!comments_) text += '\n';
    text += WriteSettingsFile(decoded.settings, comments_, notes);

    if (outputPath_.empty()) {
        context.out << text;
    } else {
        if (auto failure = context.files.ReplaceFile(outputPath_, text)) {
            ReportError(context, "cannot write " + outputPath_ + ": " + *failure + ".");
            return kExitFile;
        }
        context.out << "Settings saved as " << outputPath_ << ".\n";
    }
    if (!noted.empty())
        ReportError(context, "note: " + std::to_string(noted.size()) +
                                 (noted.size() == 1 ? " setting is" : " settings are") +
                                 " not read back exactly; see the '# Note:' lines.");
    return kExitOk;
}

}  // namespace trovik::cli
