#include "cli/chip_session.h"

#include <csignal>
#include <cstdio>
#include <ostream>

#include "programmer/programming_run.h"

namespace trovik::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

}  // namespace

std::string MinutesSeconds(std::chrono::nanoseconds time) {
    const long long seconds =
        std::chrono::duration_cast<std::chrono::seconds>(time + std::chrono::milliseconds(500)).count();
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

const char* const kPortOptionHelp =
    "Serial port: COM1 to COM8 (/dev/ttyS0 to /dev/ttyS7), a device such as /dev/ttyUSB0, "
    "or a simulated chip: sim, or sim: with options separated by commas: absent, "
    "fail-at=N, image=FILE, realtime";

InterruptGuard::InterruptGuard() {
    interrupted = 0;
    previous_ = std::signal(SIGINT, OnInterrupt);
}

InterruptGuard::~InterruptGuard() {
    if (previous_ != SIG_ERR) std::signal(SIGINT, previous_);
}

bool InterruptGuard::Interrupted() { return interrupted != 0; }

std::function<bool()> StopCheck(const std::function<bool()>& extra) {
    return [extra] { return InterruptGuard::Interrupted() || (extra && extra()); };
}

std::string ChosenPort(CliContext& context, const std::string& portOption, int comPortIndex) {
    if (!portOption.empty()) return portOption;
    const PortChoice choice = PortNameForIndex(comPortIndex);
    if (choice.name.empty()) ReportError(context, choice.error);
    return choice.name;
}

void ProgressLine::Show(std::size_t done, std::size_t total, const std::string& detail) {
    if (!context_.errIsTerminal) return;
    const auto now = std::chrono::steady_clock::now();
    if (done == 1) first_ = now;
    if (done != total && shown_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    shown_ = true;
    context_.err << "\rword " << done << " of " << total << detail;
    if (done > 1 && done < total) {
        const auto perWord = (now - first_) / static_cast<long>(done - 1);
        context_.err << ", " << MinutesSeconds(perWord * static_cast<long>(total - done)) << " left";
    }
    context_.err << "\x1b[K" << std::flush;
}

void ProgressLine::End() {
    if (shown_) context_.err << '\n' << std::flush;
    shown_ = false;
}

PortSession::PortSession(CliContext& context, const std::string& portName, const std::string& tracePath,
                         const std::string& commandName, PortOverride override)
    : context_(context),
      tracePath_(tracePath),
      simPorts_(systemPorts_, context.files),
      ports_(override.ports ? override.ports : &simPorts_),
      sleeper_(override.sleeper ? override.sleeper : &simPorts_.SleeperFor(portName, systemSleeper_)),
      trace_(traceText_),
      tracingPorts_(*ports_, trace_),
      tracingSleeper_(*sleeper_, trace_) {
    if (!tracePath_.empty()) trace_.Comment("trovik-cli " + commandName + ": every port operation, in order");
}

PortFactory& PortSession::Ports() {
    return tracePath_.empty() ? *ports_ : tracingPorts_;
}

Sleeper& PortSession::Timing() { return tracePath_.empty() ? *sleeper_ : tracingSleeper_; }

bool PortSession::Finish() {
    if (tracePath_.empty()) return true;
    if (auto failure = context_.files.ReplaceFile(tracePath_, traceText_.str())) {
        ReportError(context_, "the line trace could not be written to " + tracePath_ + ": " + *failure + ".");
        return false;
    }
    return true;
}

WholeChipRead ReadWholeChip(CliContext& context, const std::string& portName, const std::string& tracePath,
                            const std::string& commandName, PortOverride override,
                            const std::function<bool()>& stopRequested) {
    PortSession session(context, portName, tracePath, commandName, override);
    WordReadProgress progress(context, StopCheck(stopRequested));
    WholeChipRead result;
    {
        InterruptGuard guard;
        result.outcome = ReadChip(portName, session.Ports(), session.Timing(), progress);
    }
    progress.End();
    result.traced = session.Finish();
    return result;
}

}  // namespace trovik::cli
