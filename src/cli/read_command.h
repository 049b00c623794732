#pragma once

#include <functional>
#include <string>

#include "cli/chip_session.h"
#include "cli/cli_command.h"

namespace trovik::cli {

inline constexpr const char* kReadFileName = "READ.HEX";

// trovik-cli read: what a chip holds, written as an image in the
// template's geometry; nothing is written to the chip.
class ReadCommand : public Command {
public:
    // `stopRequested`, when given, is asked between words besides Ctrl-C;
    // `ports` replaces the machine's ports and sleeps (tests).
    explicit ReadCommand(std::function<bool()> stopRequested = {}, PortOverride ports = {})
        : stopRequested_(std::move(stopRequested)), override_(ports) {}

    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

private:
    std::string port_;
    std::string outputPath_;
    std::string tracePath_;
    std::function<bool()> stopRequested_;
    PortOverride override_;
};

}  // namespace trovik::cli
