#include "programmer/chip_probe.h"

#include <algorithm>

#include "programmer/programming_link.h"

namespace trovik {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTimedLinePairs = 100;
constexpr int kTimedReads = 100;
constexpr int kTimedDelays = 1000;
constexpr int kTimedSleeps = 10;

template <class Operation>
std::chrono::nanoseconds Average(int count, Operation operation) {
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        if (!operation()) return std::chrono::nanoseconds(-1);
    return (Clock::now() - start) / count;
}

std::string LineFailure(SerialPort& port, const std::string& what) {
    std::string message = "The port cannot " + what;
    const std::string reason = port.LastError();
    if (!reason.empty()) message += ": " + reason;
    return message + ". The programming adapter needs DTR, RTS, CTS and the break of the transmit line; "
                     "check that this is a serial port with modem-control lines (some USB adapters lack them).";
}

}  // namespace

std::chrono::nanoseconds EstimateDuration(const OperationCounts& counts, const PortTimings& timings) {
    const auto perMs = std::max<std::chrono::nanoseconds>(timings.sleepOneMs, std::chrono::milliseconds(1));
    const auto delay = std::max<std::chrono::nanoseconds>(timings.shortDelay, kShortDelay);
    return timings.lineChange * static_cast<long long>(counts.lineChanges + counts.breakChanges) +
           timings.ctsRead * static_cast<long long>(counts.ctsReads) +
           delay * static_cast<long long>(counts.shortDelays) + perMs * counts.sleptMs;
}

ProbeOutcome ProbeChip(SerialPort& port, Sleeper& sleeper, const std::function<bool()>& stopRequested) {
    ProbeOutcome outcome;
    ProgrammingLink link(port, sleeper);
    SafeLines safe(link);
    auto stop = [&] {
        if (!stopRequested || !stopRequested()) return false;
        outcome.status = ProbeStatus::Interrupted;
        outcome.message = "The probe was interrupted; the lines were left safe and nothing was written to the chip.";
        return true;
    };

    // Each line on its own first, so a failure names the line.
    struct Check {
        ModemLine line;
        bool raised;
        const char* what;
    };
    for (const Check& c : {Check{ModemLine::Dtr, true, "raise DTR"}, Check{ModemLine::Dtr, false, "lower DTR"},
                           Check{ModemLine::Rts, true, "raise RTS"}, Check{ModemLine::Rts, false, "lower RTS"}}) {
        if (!port.SetLine(c.line, c.raised)) {
            outcome.message = LineFailure(port, c.what);
            return outcome;
        }
    }
    bool cts = false;
    if (!port.ReadCts(cts)) {
        outcome.message = LineFailure(port, "read CTS");
        return outcome;
    }
    if (stop()) return outcome;

    // Data line only: without a clock edge the chip latches nothing.
    outcome.timings.lineChange = Average(kTimedLinePairs, [&] {
                                     return port.SetLine(ModemLine::Dtr, true) && port.SetLine(ModemLine::Dtr, false);
                                 }) / 2;
    outcome.timings.ctsRead = Average(kTimedReads, [&] { return port.ReadCts(cts); });
    if (outcome.timings.lineChange.count() < 0 || outcome.timings.ctsRead.count() < 0) {
        outcome.message = LineFailure(port, "keep changing DTR or reading CTS");
        return outcome;
    }
    outcome.timings.shortDelay = Average(kTimedDelays, [&] {
        sleeper.ShortDelay();
        return true;
    });
    outcome.timings.sleepOneMs = Average(kTimedSleeps, [&] {
        sleeper.SleepMs(1);
        return true;
    });
    if (stop()) return outcome;

    link.EnterProgrammingMode();
    if (!link.Failed() && stop()) return outcome;
    outcome.word0 = link.ReadWord();
    link.LoadConfiguration(kWordMask);
    for (int i = 0; i < kDeviceIdIncrements; ++i) link.IncrementAddress();
    outcome.deviceId = link.ReadWord();
    link.LeaveProgrammingMode();
    if (link.Failed()) {
        outcome.message = "The probe stopped: " + link.Failure() + ". The lines were left safe where the port allowed it.";
        return outcome;
    }
    switch (JudgePresence(std::vector<std::uint16_t>{outcome.word0, outcome.deviceId})) {
        case ChipPresence::Answers: outcome.status = ProbeStatus::ChipAnswers; break;
        case ChipPresence::NoChip: outcome.status = ProbeStatus::NoChip; break;
        case ChipPresence::LineHigh: outcome.status = ProbeStatus::LineHigh; break;
    }
    return outcome;
}

}  // namespace trovik
