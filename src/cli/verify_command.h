#pragma once

#include <functional>
#include <string>

#include "cli/chip_session.h"
#include "cli/cli_command.h"
#include "cli/settings_file.h"

namespace trovik::cli {

// trovik-cli verify: whether the chip holds exactly the image program
// would write, and where it does not; nothing is written to the chip.
class VerifyCommand : public Command {
public:
    // `stopRequested`, when given, is asked between words besides Ctrl-C;
    // `ports` replaces the machine's ports and sleeps (tests).
    explicit VerifyCommand(std::function<bool()> stopRequested = {}, PortOverride ports = {})
        : stopRequested_(std::move(stopRequested)), override_(ports) {}

    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

private:
    SettingsOptions settings_;
    std::string port_;
    std::string tracePath_;
    std::function<bool()> stopRequested_;
    PortOverride override_;
};

}  // namespace trovik::cli
