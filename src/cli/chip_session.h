#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "cli/cli_command.h"
#include "platform/serial_ports.h"
#include "platform/timing.h"
#include "programmer/chip_reader.h"
#include "programmer/serial_port.h"
#include "sim/line_trace.h"
#include "sim/sim_ports.h"

namespace trovik::cli {

// The --port option's help, shared by the commands that talk to a chip.
extern const char* const kPortOptionHelp;

// Ctrl-C asks the command to stop instead of ending the process, for as
// long as this object lives: the command then leaves program mode and
// leaves the lines safe itself.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
    static bool Interrupted();

private:
    void (*previous_)(int);
};

// A time as m:ss, rounded to the second.
std::string MinutesSeconds(std::chrono::nanoseconds time);

// "word N of 1024" on a terminal's error stream, at most ten times a
// second, with the time left.
class ProgressLine {
public:
    explicit ProgressLine(CliContext& context) : context_(context) {}
    // `detail` follows the count, e.g. ", 12 programmed".
    void Show(std::size_t done, std::size_t total, const std::string& detail = {});
    void End();

private:
    CliContext& context_;
    bool shown_ = false;
    std::chrono::steady_clock::time_point first_{};
    std::chrono::steady_clock::time_point last_{};
};

// Progress of a command that reads every word: the progress line and the
// stop requests.
class WordReadProgress : public ReadObserver {
public:
    WordReadProgress(CliContext& context, std::function<bool()> stop) : line_(context), stop_(std::move(stop)) {}
    void OnProgress(std::size_t word) override { line_.Show(word, kProgramWordCount); }
    bool StopRequested() override { return stop_(); }
    void End() { line_.End(); }

private:
    ProgressLine line_;
    std::function<bool()> stop_;
};

// The port a command talks to: --port when given, else the COMn name that
// comPortIndex selects. Reports and returns an empty name when there is none.
std::string ChosenPort(CliContext& context, const std::string& portOption, int comPortIndex);

// Ports and sleeps a test gives a command in place of the machine's, so
// that a chip can be prepared before the command runs.
struct PortOverride {
    PortFactory* ports = nullptr;
    Sleeper* sleeper = nullptr;
};

// The ports, the sleeps and the optional line trace of one command: real
// or simulated ports ("sim..."), the virtual clock for simulated ones.
class PortSession {
public:
    PortSession(CliContext& context, const std::string& portName, const std::string& tracePath,
                const std::string& commandName, PortOverride override = {});
    PortFactory& Ports();
    Sleeper& Timing();
    // True when the port's sleeps are real ones (a real port, or
    // sim:realtime); only such runs are worth a raised priority.
    bool SleepsForReal() const { return sleeper_ == &systemSleeper_; }
    // Writes the trace when one was asked for; reports and returns false
    // when it could not be written.
    bool Finish();

private:
    CliContext& context_;
    std::string tracePath_;
    SystemPortFactory systemPorts_;
    SimPortFactory simPorts_;
    SystemSleeper systemSleeper_;
    PortFactory* ports_;
    Sleeper* sleeper_;
    std::ostringstream traceText_;
    LineTrace trace_;
    TracingPortFactory tracingPorts_;
    TracingSleeper tracingSleeper_;
};

// Reads the whole chip on the named port, with the progress line, Ctrl-C
// and the optional trace; `traced` is false when the trace could not be
// written (already reported).
struct WholeChipRead {
    ChipReadOutcome outcome;
    bool traced = true;
};
WholeChipRead ReadWholeChip(CliContext& context, const std::string& portName, const std::string& tracePath,
                            const std::string& commandName, PortOverride override,
                            const std::function<bool()>& stopRequested);

// Whether the user asked to stop: Ctrl-C, or a test's own request.
std::function<bool()> StopCheck(const std::function<bool()>& extra);

}  // namespace trovik::cli
