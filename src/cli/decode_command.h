#pragma once

#include <string>

#include "cli/cli_command.h"

namespace trovik::cli {

// trovik-cli decode: the settings an image holds, as a settings file that
// export takes back.
class DecodeCommand : public Command {
public:
    CLI::App* Register(CLI::App& app) override;
    int Run(CliContext& context) override;

private:
    std::string imagePath_;
    std::string outputPath_;
    bool comments_ = false;
};

}  // namespace trovik::cli
