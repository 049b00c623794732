#pragma once

#include <string>

#include "cli/cli_command.h"

namespace trovik::cli {

// trovik-cli diff: the settings in which two images or settings files
// differ, and whether two images carry the same firmware.
class DiffCommand : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

private:
    std::string pathA_;
    std::string pathB_;
};

}  // namespace trovik::cli
