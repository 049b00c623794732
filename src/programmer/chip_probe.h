#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "programmer/chip_reader.h"
#include "programmer/serial_port.h"

namespace trovik {

// Every port operation and wait of a run, counted.
struct OperationCounts {
    std::size_t lineChanges = 0;   // DTR and RTS
    std::size_t breakChanges = 0;
    std::size_t ctsReads = 0;
    std::size_t shortDelays = 0;
    long long sleptMs = 0;
};

// Counts what passes to the port it wraps.
class CountingPort : public SerialPort {
public:
    CountingPort(std::unique_ptr<SerialPort> inner, OperationCounts& counts)
        : inner_(std::move(inner)), counts_(counts) {}
    bool SetLine(ModemLine line, bool raised) override {
        ++counts_.lineChanges;
        return inner_->SetLine(line, raised);
    }
    bool ReadCts(bool& raised) override {
        ++counts_.ctsReads;
        return inner_->ReadCts(raised);
    }
    bool SetBreak(bool on) override {
        ++counts_.breakChanges;
        return inner_->SetBreak(on);
    }
    std::string LastError() const override { return inner_->LastError(); }

private:
    std::unique_ptr<SerialPort> inner_;
    OperationCounts& counts_;
};

class CountingPortFactory : public PortFactory {
public:
    CountingPortFactory(PortFactory& inner, OperationCounts& counts) : inner_(inner), counts_(counts) {}
    PortOpenResult Open(const std::string& name) override {
        PortOpenResult opened = inner_.Open(name);
        if (opened.port) opened.port = std::make_unique<CountingPort>(std::move(opened.port), counts_);
        return opened;
    }

private:
    PortFactory& inner_;
    OperationCounts& counts_;
};

class CountingSleeper : public Sleeper {
public:
    CountingSleeper(Sleeper& inner, OperationCounts& counts) : inner_(inner), counts_(counts) {}
    void SleepMs(int milliseconds) override {
        counts_.sleptMs += milliseconds;
        inner_.SleepMs(milliseconds);
    }
    void ShortDelay() override {
        ++counts_.shortDelays;
        inner_.ShortDelay();
    }

private:
    Sleeper& inner_;
    OperationCounts& counts_;
};

// What one operation takes on a port, measured.
struct PortTimings {
    std::chrono::nanoseconds lineChange{0};
    std::chrono::nanoseconds ctsRead{0};
    std::chrono::nanoseconds shortDelay{0};
    std::chrono::nanoseconds sleepOneMs{0};  // a 1 ms sleep, overshoot included
};

// How long the counted operations take at the measured timings. A sleep
// counts at least its nominal length, so a virtual clock still gives the
// time a real run would wait.
std::chrono::nanoseconds EstimateDuration(const OperationCounts& counts, const PortTimings& timings);

enum class ProbeStatus {
    ChipAnswers,  // word 0 and the device ID read back
    NoChip,       // every bit read 0
    LineHigh,     // every bit read 1
    PortFailed,   // a line could not be set or read
    Interrupted,
};

struct ProbeOutcome {
    ProbeStatus status = ProbeStatus::PortFailed;
    std::uint16_t word0 = 0;
    std::uint16_t deviceId = 0;
    PortTimings timings;
    std::string message;  // what failed, for PortFailed and Interrupted
};

// Checks that DTR and RTS can be raised and lowered and CTS read, times
// those operations and the sleeps, then enters program mode, reads word 0
// and the device ID at 0x2006 and leaves program mode. Nothing is ever
// programmed, and the lines are left safe on every way out. Timing toggles
// only DTR, never the clock, so the chip sees nothing of it.
ProbeOutcome ProbeChip(SerialPort& port, Sleeper& sleeper, const std::function<bool()>& stopRequested);

}  // namespace trovik
