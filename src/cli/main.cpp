#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/cli_command.h"
#include "platform/file_access.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    trovik::SystemFileAccess files;
    trovik::cli::CliContext context{std::cout, std::cerr, files, ::isatty(STDERR_FILENO) == 1};
    return trovik::cli::RunCli(args, context);
}
