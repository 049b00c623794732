#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "image/file_access.h"

namespace CLI { class App; }

namespace trovik::cli {

// Exit codes of trovik-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDiffer = 1;       // diff: the two differ
inline constexpr int kExitUsage = 2;        // bad usage or settings
inline constexpr int kExitFile = 3;         // template, file or port problem
inline constexpr int kExitVerify = 4;       // the chip does not hold the image
inline constexpr int kExitInterrupted = 130;

// What a command may use of the world; tests give their own.
struct CliContext {
    std::ostream& out;   // results
    std::ostream& err;   // messages
    FileAccess& files;
    bool errIsTerminal = false;
};

// One command of trovik-cli: it adds its subcommand and options, then runs
// when its subcommand was given.
class Command {
public:
    virtual ~Command() = default;
    virtual CLI::App* Register(CLI::App& app) = 0;
    virtual int Run(CliContext& context) = 0;
};

std::vector<std::unique_ptr<Command>> MakeCommands();

// Parses the arguments and runs the chosen command; returns the exit code.
int RunCli(const std::vector<std::string>& args, CliContext& context);

// "trovik-cli: <message>" on the error stream.
void ReportError(CliContext& context, const std::string& message);

}  // namespace trovik::cli
