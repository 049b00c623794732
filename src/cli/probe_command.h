#pragma once

#include <functional>
#include <string>

#include "cli/chip_session.h"
#include "cli/cli_command.h"

namespace trovik::cli {

// trovik-cli probe: whether the port's lines work and a chip answers
// behind the adapter, and how fast the port is; nothing is programmed.
class ProbeCommand : public Command {
public:
    // `stopRequested`, when given, is asked between steps besides Ctrl-C;
    // `ports` replaces the machine's ports and sleeps (tests).
    explicit ProbeCommand(std::function<bool()> stopRequested = {}, PortOverride ports = {})
        : stopRequested_(std::move(stopRequested)), override_(ports) {}

    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

private:
    std::string port_;
    std::string tracePath_;
    std::function<bool()> stopRequested_;
    PortOverride override_;
};

}  // namespace trovik::cli
