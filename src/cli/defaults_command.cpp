#include "cli/defaults_command.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/settings_file.h"

namespace trovik::cli {

CLI::App* DefaultsCommand::Register(CLI::App& app) {
    return app.add_subcommand("defaults", "Print the default settings as a settings file to edit");
}

int DefaultsCommand::Run(CliContext& context) {
    context.out << WriteSettingsFile(TrackerSettings(), true);
    return kExitOk;
}

}  // namespace trovik::cli
