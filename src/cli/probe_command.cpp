#include "cli/probe_command.h"

#include <cstdio>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/chip_session.h"
#include "image/image_words.h"
#include "programmer/chip_probe.h"
#include "programmer/programming_run.h"

namespace trovik::cli {
namespace {

std::string Micros(std::chrono::nanoseconds time) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f us", static_cast<double>(time.count()) / 1000.0);
    return text;
}

std::string Millis(std::chrono::nanoseconds time) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f ms", static_cast<double>(time.count()) / 1e6);
    return text;
}

// A template held in memory, for counting what a run does.
class OneFile : public FileAccess {
public:
    OneFile(std::string name, std::string bytes) : name_(std::move(name)), bytes_(std::move(bytes)) {}
    ReadResult ReadFile(const std::string& path, std::size_t maxBytes) override {
        if (path != name_) return {false, {}, "No such file"};
        return {true, bytes_.substr(0, maxBytes), {}};
    }
    std::optional<std::string> ReplaceFile(const std::string&, std::string_view) override {
        return std::string("read-only");
    }

private:
    std::string name_;
    std::string bytes_;
};

class Silent : public ProgrammingObserver {
public:
    void OnProgress(std::size_t, std::size_t) override {}
    void OnVerifyFailed(const ProgrammingOutcome&) override {}
};

// What a whole programming run does on the port: the real run, on a
// simulated chip, counted. First on a blank chip (every word programmed),
// then again on the same chip, which then holds the image (none).
std::array<OperationCounts, 2> CountProgrammingRuns() {
    ProgramWords words{};
    for (std::size_t n = 0; n < words.size(); ++n) words[n] = static_cast<std::uint16_t>((n * 0x9E37u + 0x1234u) & 0x3FFFu);
    const std::string name = "probe template";
    OneFile files(name, std::string(ImageFromWords(words, kConfigurationWord).View()));
    SimPortFactory sim(files);
    Silent observer;
    std::array<OperationCounts, 2> counts{};
    for (auto& c : counts) {
        CountingPortFactory ports(sim, c);
        CountingSleeper sleeper(sim.Clock(), c);
        RunProgramming(TrackerSettings(), files, name, "sim", ports, sleeper, observer);
    }
    return counts;
}

}  // namespace

CLI::App* ProbeCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "probe", "Check the port and the adapter, see whether a chip answers, and time the port");
    command->add_option("--port", port_, kPortOptionHelp)->type_name("NAME")->required();
    command->add_option("--trace", tracePath_, "Write every port operation to FILE, one per line")->type_name("FILE");
    command->footer(
        "Checks that DTR and RTS can be set and CTS read, enters program mode, reads word\n"
        "0 and the device ID (0x2006) and leaves program mode; nothing is ever\n"
        "programmed. Then says what answered, how long the port's operations take and\n"
        "how long a full programming run would take on it.\n"
        "Exit codes: 0 a chip answers; 2 bad usage; 3 the port cannot be opened or a\n"
        "line fails; 4 no chip answers (every bit 0, or 1 throughout); 130 interrupted.");
    return command;
}

int ProbeCommand::Run(CliContext& context) {
    PortSession session(context, port_, tracePath_, "probe", override_);
    ProbeOutcome outcome;
    std::string portSettings;
    {
        InterruptGuard guard;
        PortOpenResult opened = session.Ports().Open(port_);
        if (!opened.port) {
            session.Finish();
            ReportError(context, opened.error.empty() ? "The port " + port_ + " could not be opened." : opened.error);
            return kExitFile;
        }
        portSettings = opened.settings;
        outcome = ProbeChip(*opened.port, session.Timing(), StopCheck(stopRequested_));
    }
    session.Finish();

    context.out << "Port " << port_ << (portSettings.empty() ? "" : ": " + portSettings) << "\n";
    switch (outcome.status) {
        case ProbeStatus::PortFailed: ReportError(context, outcome.message); return kExitFile;
        case ProbeStatus::Interrupted: ReportError(context, outcome.message); return kExitInterrupted;
        default: break;
    }
    context.out << "DTR and RTS can be raised and lowered, CTS read, and the break switched on and off.\n";
    int code = kExitOk;
    switch (outcome.status) {
        case ProbeStatus::ChipAnswers:
            context.out << "A chip answers: device ID " << HexWord(outcome.deviceId) << " (device "
                        << HexWord(static_cast<unsigned>(outcome.deviceId >> 5)) << ", revision "
                        << (outcome.deviceId & 0x1F) << "); word 0 reads " << HexWord(outcome.word0) << ".\n";
            break;
        case ProbeStatus::NoChip:
            context.out << "No chip answers: every bit read 0. Check that the tracker's chip sits in the adapter "
                           "and the adapter is connected.\n";
            code = kExitVerify;
            break;
        default:
            context.out << "No chip answers: every bit read 1, the device ID too. The adapter may be unpowered "
                           "or wired otherwise.\n";
            code = kExitVerify;
            break;
    }
    const PortTimings& t = outcome.timings;
    const SimPortNameResult sim = ParseSimPortName(port_);
    if (sim.options && !sim.options->realtime)
        context.out << "The simulated port runs on a virtual clock: its operations take no real time, and the "
                       "estimate counts each sleep at its nominal length.\n";
    context.out << "Timings: a line change " << Micros(t.lineChange) << ", a CTS read " << Micros(t.ctsRead)
                << ", a short pause " << Micros(t.shortDelay) << ", a 1 ms sleep " << Millis(t.sleepOneMs) << ".\n";
    const auto counts = CountProgrammingRuns();
    context.out << "A full programming run on this port takes about " << MinutesSeconds(EstimateDuration(counts[0], t))
                << " (m:ss) when every word is programmed, about " << MinutesSeconds(EstimateDuration(counts[1], t))
                << " when the chip already holds the image.\n";
    return code;
}

}  // namespace trovik::cli
