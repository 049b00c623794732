#pragma once

#include "cli/cli_command.h"
#include "cli/settings_file.h"

namespace trovik::cli {

// trovik-cli export: "Create Hex File" from the terminal.
class ExportCommand : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

private:
    SettingsOptions settings_;
    std::string outputPath_;
};

}  // namespace trovik::cli
