#pragma once

#include "cli/cli_command.h"

namespace trovik::cli {

// trovik-cli defaults: the default settings as a commented settings file.
class DefaultsCommand : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;
};

}  // namespace trovik::cli
