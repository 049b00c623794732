#include "cli/program_command.h"

#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/chip_session.h"
#include "image/template_image.h"
#include "programmer/programming_run.h"

namespace trovik::cli {

namespace {

// Progress on a terminal's stderr, "Verify Failed" on stdout the moment it
// happens (the chip is still in program mode then), and the stop requests.
class CliObserver : public ProgrammingObserver {
public:
    CliObserver(CliContext& context, std::function<bool()> stop)
        : context_(context), line_(context), stop_(std::move(stop)) {}

    void OnProgress(std::size_t word, std::size_t programmed) override {
        line_.Show(word, kProgramWordCount, ", " + std::to_string(programmed) + " programmed");
    }

    void OnVerifyFailed(const ProgrammingOutcome& outcome) override {
        line_.End();
        context_.out << kVerifyFailedMessage << '\n' << DescribeVerifyFailure(outcome) << '\n' << std::flush;
    }

    bool StopRequested() override { return stop_(); }
    void End() { line_.End(); }

private:
    CliContext& context_;
    ProgressLine line_;
    std::function<bool()> stop_;
};

int ExitCode(ProgrammingStatus status) {
    switch (status) {
        case ProgrammingStatus::Programmed: return kExitOk;
        case ProgrammingStatus::VerifyFailed: return kExitVerify;
        case ProgrammingStatus::TemplateError:
        case ProgrammingStatus::PortError: return kExitFile;
        case ProgrammingStatus::Interrupted: return kExitInterrupted;
    }
    return kExitFile;
}

}  // namespace

CLI::App* ProgramCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "program", "Program the template patched with the settings into the chip and verify it (\"Program PIC\")");
    settings_.AddTo(*command);
    command
        ->add_option("--port", port_, std::string(kPortOptionHelp) + ". Default: the port comPortIndex selects")
        ->type_name("NAME");
    command->add_option("--trace", tracePath_, "Write every port operation of the run to FILE, one per line")
        ->type_name("FILE");
    command->footer(
        "Exit codes: 0 programmed and verified; 2 bad usage or settings; 3 template, file\n"
        "or port problem; 4 Verify Failed; 130 interrupted (the lines are left safe).");
    return command;
}

int ProgramCommand::Run(CliContext& context) {
    const auto settings = settings_.Load(context);
    if (!settings) return kExitUsage;
    const std::string portName = ChosenPort(context, port_, settings->comPortIndex);
    if (portName.empty()) return kExitUsage;

    PortSession session(context, portName, tracePath_, "program");
    if (session.SleepsForReal()) RaiseProcessPriority();
    CliObserver observer(context, StopCheck(stopRequested_));
    ProgrammingOutcome outcome;
    {
        InterruptGuard guard;
        outcome = RunProgramming(*settings, context.files, settings_.templatePath, portName, session.Ports(),
                                 session.Timing(), observer);
    }
    observer.End();

    int code = ExitCode(outcome.status);
    if (outcome.status == ProgrammingStatus::Programmed)
        context.out << outcome.message << '\n';
    else if (outcome.status != ProgrammingStatus::VerifyFailed)
        ReportError(context, outcome.message);
    if (!session.Finish() && code == kExitOk) code = kExitFile;
    return code;
}

}  // namespace trovik::cli
