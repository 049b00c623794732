#include "cli/program_command.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ostream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "image/template_image.h"
#include "platform/serial_ports.h"
#include "platform/timing.h"
#include "programmer/programming_run.h"
#include "sim/line_trace.h"
#include "sim/sim_ports.h"

namespace trovik::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

// Ctrl-C asks the run to stop instead of ending the process, for as long
// as the run lasts.
class InterruptHandler {
public:
    InterruptHandler() {
        interrupted = 0;
        previous_ = std::signal(SIGINT, OnInterrupt);
    }
    ~InterruptHandler() {
        if (previous_ != SIG_ERR) std::signal(SIGINT, previous_);
    }
    InterruptHandler(const InterruptHandler&) = delete;
    InterruptHandler& operator=(const InterruptHandler&) = delete;

private:
    void (*previous_)(int);
};

std::string MinutesSeconds(std::chrono::seconds time) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(time.count() / 60),
                  static_cast<long long>(time.count() % 60));
    return text;
}

// Progress on a terminal's stderr, "Verify Failed" on stdout the moment it
// happens (the chip is still in program mode then), and the stop requests.
class CliObserver : public ProgrammingObserver {
public:
    CliObserver(CliContext& context, const std::function<bool()>& stopRequested)
        : context_(context), stopRequested_(stopRequested) {}

    void OnProgress(std::size_t word, std::size_t programmed) override {
        if (!context_.errIsTerminal) return;
        const auto now = std::chrono::steady_clock::now();
        if (word == 1) firstWord_ = now;
        if (word != kProgramWordCount && shown_ && now - lastShown_ < std::chrono::milliseconds(100)) return;
        lastShown_ = now;
        shown_ = true;
        context_.err << "\rword " << word << " of " << kProgramWordCount << ", " << programmed << " programmed";
        if (word > 1 && word < kProgramWordCount) {
            const auto perWord = (now - firstWord_) / static_cast<long>(word - 1);
            const auto left = std::chrono::duration_cast<std::chrono::seconds>(
                perWord * static_cast<long>(kProgramWordCount - word));
            context_.err << ", " << MinutesSeconds(left) << " left";
        }
        context_.err << "\x1b[K" << std::flush;
    }

    void OnVerifyFailed(const ProgrammingOutcome& outcome) override {
        EndProgressLine();
        context_.out << kVerifyFailedMessage << '\n' << DescribeVerifyFailure(outcome) << '\n' << std::flush;
    }

    bool StopRequested() override { return interrupted != 0 || (stopRequested_ && stopRequested_()); }

    void EndProgressLine() {
        if (shown_) context_.err << '\n' << std::flush;
        shown_ = false;
    }

private:
    CliContext& context_;
    const std::function<bool()>& stopRequested_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point firstWord_{};
    std::chrono::steady_clock::time_point lastShown_{};
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
        ->add_option("--port", port_,
                     "Serial port: COM1 to COM8 (/dev/ttyS0 to /dev/ttyS7), a device such as /dev/ttyUSB0, "
                     "or a simulated chip: sim, or sim: with options separated by commas: absent, "
                     "fail-at=N, image=FILE, realtime. Default: the port comPortIndex selects")
        ->option_text("NAME");
    command->add_option("--trace", tracePath_, "Write every port operation of the run to FILE, one per line")
        ->option_text("FILE");
    return command;
}

int ProgramCommand::Run(CliContext& context) {
    const auto settings = settings_.Load(context);
    if (!settings) return kExitUsage;
    std::string portName = port_;
    if (portName.empty()) {
        const PortChoice choice = PortNameForIndex(settings->comPortIndex);
        if (choice.name.empty()) {
            ReportError(context, choice.error);
            return kExitUsage;
        }
        portName = choice.name;
    }

    SystemPortFactory systemPorts;
    SimPortFactory ports(systemPorts, context.files);
    SystemSleeper systemSleeper;
    Sleeper& sleeper = ports.SleeperFor(portName, systemSleeper);
    if (&sleeper == &systemSleeper) RaiseProcessPriority();

    std::ostringstream traceText;
    LineTrace trace(traceText);
    TracingPortFactory tracingPorts(ports, trace);
    TracingSleeper tracingSleeper(sleeper, trace);
    const bool tracing = !tracePath_.empty();
    if (tracing) trace.Comment("trovik-cli program: every port operation of the run, in order");

    CliObserver observer(context, stopRequested_);
    ProgrammingOutcome outcome;
    {
        InterruptHandler handler;
        outcome = RunProgramming(*settings, context.files, settings_.templatePath, portName,
                                 tracing ? static_cast<PortFactory&>(tracingPorts) : ports,
                                 tracing ? static_cast<Sleeper&>(tracingSleeper) : sleeper, observer);
    }
    observer.EndProgressLine();

    int code = ExitCode(outcome.status);
    if (outcome.status == ProgrammingStatus::Programmed)
        context.out << outcome.message << '\n';
    else if (outcome.status != ProgrammingStatus::VerifyFailed)
        ReportError(context, outcome.message);

    if (tracing) {
        if (auto failure = context.files.ReplaceFile(tracePath_, traceText.str())) {
            ReportError(context, "the line trace could not be written to " + tracePath_ + ": " + *failure + ".");
            if (code == kExitOk) code = kExitFile;
        }
    }
    return code;
}

}  // namespace trovik::cli
