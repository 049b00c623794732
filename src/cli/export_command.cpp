#include "cli/export_command.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "image/hex_export.h"

namespace trovik::cli {

CLI::App* ExportCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "export", "Write the template patched with the settings to OUTPUT.HEX (\"Create Hex File\")");
    settings_.AddTo(*command);
    outputPath_ = kOutputFileName;
    command->add_option("--output", outputPath_, "Where to write the hex file")
        ->type_name("PATH")
        ->capture_default_str();
    return command;
}

int ExportCommand::Run(CliContext& context) {
    const auto settings = settings_.Load(context);
    if (!settings) return kExitUsage;
    const ExportResult result =
        ExportHexFile(context.files, *settings, settings_.templatePath, outputPath_);
    if (result.status != ExportStatus::Saved) {
        ReportError(context, result.message);
        return kExitFile;
    }
    context.out << result.message << '\n';
    return kExitOk;
}

}  // namespace trovik::cli
