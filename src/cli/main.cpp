#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "platform/file_access.h"
#include "platform/terminal.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    trovik::SystemFileAccess files;
    trovik::cli::CliContext context{std::cout, std::cerr, files, trovik::StandardErrorIsTerminal()};
    return trovik::cli::RunCli(args, context);
}
