#pragma once

#include <string>

#include "cli/cli_command.h"

namespace trovik::cli {

// trovik-cli ports: the machine's serial ports and the COMn names that
// open them; no port is opened.
class PortsCommand : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

    // Where the system describes its ports; tests point these at a tree of
    // their own.
    std::string sysClassTty = "/sys/class/tty";
    std::string devDir = "/dev";
};

}  // namespace trovik::cli
