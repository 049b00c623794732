#include "cli/cli_command.h"

#include <algorithm>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/decode_command.h"
#include "cli/defaults_command.h"
#include "cli/diff_command.h"
#include "cli/export_command.h"
#include "cli/probe_command.h"
#include "cli/program_command.h"
#include "cli/ports_command.h"
#include "cli/read_command.h"
#include "cli/verify_command.h"

namespace trovik::cli {

std::vector<std::unique_ptr<Command>> MakeCommands() {
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ExportCommand>());
    commands.push_back(std::make_unique<ProgramCommand>());
    commands.push_back(std::make_unique<DefaultsCommand>());
    commands.push_back(std::make_unique<DecodeCommand>());
    commands.push_back(std::make_unique<DiffCommand>());
    commands.push_back(std::make_unique<ReadCommand>());
    commands.push_back(std::make_unique<VerifyCommand>());
    commands.push_back(std::make_unique<ProbeCommand>());
    commands.push_back(std::make_unique<PortsCommand>());
    return commands;
}

void ReportError(CliContext& context, const std::string& message) {
    context.err << "trovik-cli: " << message << '\n';
}

int RunCli(const std::vector<std::string>& args, CliContext& context) {
    CLI::App app{"Configure and program an APRS tracker's PIC16 firmware from the terminal.",
                 "trovik-cli"};
    app.require_subcommand(1);
    app.footer(
        "Exit codes: 0 success; 1 diff found differences; 2 bad usage or settings;\n"
        "3 template, file or port problem; 4 the chip does not hold the image\n"
        "(Verify Failed, or no chip answered); 130 interrupted.");

    auto commands = MakeCommands();
    std::vector<CLI::App*> subcommands;
    for (auto& command : commands) subcommands.push_back(command->Register(app));

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, context.out, context.err);
        return code == 0 ? kExitOk : kExitUsage;
    }
    for (std::size_t i = 0; i < commands.size(); ++i)
        if (subcommands[i]->parsed()) return commands[i]->Run(context);
    return kExitUsage;
}

}  // namespace trovik::cli
