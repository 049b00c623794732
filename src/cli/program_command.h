#pragma once

#include <functional>
#include <string>

#include "cli/cli_command.h"
#include "cli/settings_file.h"

namespace trovik::cli {

// trovik-cli program: "Program PIC" from the terminal, on a real port or a
// simulated chip, with an optional line trace. Ctrl-C stops the run after
// the operation under way and leaves the lines safe.
class ProgramCommand : public Command {
public:
    // `stopRequested`, when given, is asked between operations besides
    // Ctrl-C; tests stop a run with it.
    explicit ProgramCommand(std::function<bool()> stopRequested = {}) : stopRequested_(std::move(stopRequested)) {}

    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

private:
    SettingsOptions settings_;
    std::string port_;
    std::string tracePath_;
    std::function<bool()> stopRequested_;
};

}  // namespace trovik::cli
