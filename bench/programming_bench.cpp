// The programming link's own cost per line operation, against the simulated
// chip and against a port that does nothing; and a whole run of a blank
// chip on sim:realtime compared with the waits the run must make.
#include <algorithm>
#include <chrono>
#include <memory>

#ifdef __linux__
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include <benchmark/benchmark.h>

#include "image/hex_export.h"
#include "platform/file_access.h"
#include "platform/timing.h"
#include "programmer/programming_link.h"
#include "programmer/programming_run.h"
#include "programmer/word_table.h"
#include "sim/sim_ports.h"

namespace {

using namespace trovik;

// Counts operations and does nothing else: the link's cost alone.
class NullPort : public SerialPort {
public:
    long operations = 0;
    bool SetLine(ModemLine, bool) override { return ++operations, true; }
    bool ReadCts(bool& raised) override {
        raised = (++operations & 1) != 0;
        return true;
    }
    bool SetBreak(bool) override { return ++operations, true; }
    std::string LastError() const override { return {}; }
};

// Counts the operations that pass to the port it wraps.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(SerialPort& inner) : inner_(inner) {}
    long operations = 0;
    bool SetLine(ModemLine line, bool raised) override { return ++operations, inner_.SetLine(line, raised); }
    bool ReadCts(bool& raised) override { return ++operations, inner_.ReadCts(raised); }
    bool SetBreak(bool on) override { return ++operations, inner_.SetBreak(on); }
    std::string LastError() const override { return {}; }

private:
    SerialPort& inner_;
};

// One chip operation per iteration; the counter "per_operation" is the
// time of one port operation (a line change or a status read) with the
// link's bookkeeping around it. Pauses and sleeps go to a virtual clock.
template <bool kProgram>
void DriveLink(benchmark::State& state, SerialPort& port, VirtualClock& clock, const long& operations) {
    ProgrammingLink link(port, clock);
    std::uint16_t word = 0;
    for (auto _ : state) {
        if constexpr (kProgram)
            link.ProgramWord(word++ & 0x3FFF);
        else
            benchmark::DoNotOptimize(link.ReadWord());
    }
    state.counters["per_operation"] =
        benchmark::Counter(static_cast<double>(operations), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <bool kProgram>
void LinkOnSimulatedChip(benchmark::State& state) {
    auto chip = std::make_shared<SimulatedChip>();
    VirtualClock clock;
    SimulatedPort sim(chip, &clock);
    CountingPort port(sim);
    ProgrammingLink(port, clock).EnterProgrammingMode();
    port.operations = 0;
    DriveLink<kProgram>(state, port, clock, port.operations);
}
BENCHMARK(LinkOnSimulatedChip<false>)->Name("LinkOnSimulatedChip/ReadWord");
BENCHMARK(LinkOnSimulatedChip<true>)->Name("LinkOnSimulatedChip/ProgramWord");

template <bool kProgram>
void LinkOnNullPort(benchmark::State& state) {
    NullPort port;
    VirtualClock clock;
    DriveLink<kProgram>(state, port, clock, port.operations);
}
BENCHMARK(LinkOnNullPort<false>)->Name("LinkOnNullPort/ReadWord");
BENCHMARK(LinkOnNullPort<true>)->Name("LinkOnNullPort/ProgramWord");

#ifdef __linux__
// For scale: one ioctl on a pseudo-terminal, the cheapest a port's line
// operation can be (a native port's driver also writes the UART's
// registers; a USB adapter waits for the bus).
void IoctlOnPseudoTerminal(benchmark::State& state) {
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    int queued = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(::ioctl(slave, TIOCOUTQ, &queued));
    }
    ::close(slave);
    ::close(master);
}
BENCHMARK(IoctlOnPseudoTerminal);
#endif

class Quiet : public ProgrammingObserver {
public:
    void OnProgress(std::size_t, std::size_t) override {}
    void OnVerifyFailed(const ProgrammingOutcome&) override {}
};

// Real sleeps and pauses, timed: where a run's time beyond its waits goes.
class TimedSleeper : public Sleeper {
public:
    explicit TimedSleeper(Sleeper& inner) : inner_(inner) {}
    double sleepOvershootMs = 0;
    double pausesMs = 0;
    long pauses = 0;

    void SleepMs(int milliseconds) override {
        const auto start = std::chrono::steady_clock::now();
        inner_.SleepMs(milliseconds);
        sleepOvershootMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() -
                            milliseconds;
    }
    void ShortDelay() override {
        const auto start = std::chrono::steady_clock::now();
        inner_.ShortDelay();
        pausesMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        ++pauses;
    }

private:
    Sleeper& inner_;
};

// A whole run of a blank chip with real sleeps, as `trovik-cli program
// --port sim:realtime` makes it. "ratio" is the run's time over the waits
// it must make: 1 ms + 1000 ms + 1 ms per word + 10 ms per programmed word
// and for the configuration word. With argument 1 the excess splits into the sleeps'
// overshoot, the short pauses (at least 1 us each, 125,581 of them) and
// the rest (line operations, the simulated chip, the timing itself).
void RealtimeRunOfABlankChip(benchmark::State& state) {
    SystemFileAccess files;
    const std::string templatePath = TROVIK_SOURCE_DIR "/examples/TROVIK.HEX";
    const TrackerSettings settings;
    const WordTable table = BuildWordTable(*BuildImageFromTemplate(files, settings, templatePath).image);
    const auto programmed = std::count_if(table.begin(), table.end(), [](auto w) { return w != 0x3FFF; });
    const double mandatedMs = 1 + 1000 + 1024 + 10.0 * static_cast<double>(programmed + 1);

    RaiseProcessPriority();
    double ratio = 0;
    for (auto _ : state) {
        SimPortFactory ports(files);  // a fresh blank chip
        SystemSleeper system;
        TimedSleeper timed(system);
        Sleeper& sleeper = state.range(0) != 0 ? static_cast<Sleeper&>(timed) : system;
        Quiet observer;
        const auto start = std::chrono::steady_clock::now();
        const ProgrammingOutcome outcome =
            RunProgramming(settings, files, templatePath, "sim:realtime", ports, sleeper, observer);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (outcome.status != ProgrammingStatus::Programmed) state.SkipWithError("the run failed");
        ratio = took.count() / mandatedMs;
        if (&sleeper == &timed) {
            state.counters["sleep_overshoot_ms"] = timed.sleepOvershootMs;
            state.counters["pauses_ms"] = timed.pausesMs;
            state.counters["pauses"] = static_cast<double>(timed.pauses);
            state.counters["rest_ms"] = took.count() - mandatedMs - timed.sleepOvershootMs - timed.pausesMs;
        }
    }
    state.counters["ratio"] = ratio;
    state.counters["mandated_ms"] = mandatedMs;
}
// Argument 0: the run as the CLI makes it; 1: with every sleep and pause
// timed (which itself costs a few milliseconds).
BENCHMARK(RealtimeRunOfABlankChip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
