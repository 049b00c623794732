#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "image/file_access.h"
#include "programmer/serial_port.h"
#include "sim/simulated_chip.h"
#include "sim/virtual_clock.h"

namespace trovik {

// A port with the simulated adapter and chip behind it. Line changes reach
// the chip at the time of `clock`, or of the steady clock when there is
// none (real sleeps). Never fails.
class SimulatedPort : public SerialPort {
public:
    SimulatedPort(std::shared_ptr<SimulatedChip> chip, const VirtualClock* clock)
        : chip_(std::move(chip)), clock_(clock) {}
    ~SimulatedPort() override { chip_->PortClosed(); }
    SimulatedPort(const SimulatedPort&) = delete;
    SimulatedPort& operator=(const SimulatedPort&) = delete;

    bool SetLine(ModemLine line, bool raised) override {
        if (line == ModemLine::Dtr)
            chip_->SetDtr(raised, {});  // the chip samples data on clock edges only
        else
            chip_->SetRts(raised, Now());
        return true;
    }
    bool ReadCts(bool& raised) override {
        raised = chip_->Cts();
        return true;
    }
    bool SetBreak(bool on) override {
        chip_->SetBreak(on, Now());
        return true;
    }
    std::string LastError() const override { return {}; }

private:
    SimulatedChip::Time Now() const;

    std::shared_ptr<SimulatedChip> chip_;
    const VirtualClock* clock_;
};

// A simulated port's name: "sim", or "sim:" with options separated by
// commas: absent, fail-at=N, image=FILE, realtime.
struct SimPortOptions {
    SimulatedChipOptions chip;
    std::string imageFile;  // the chip starts holding this image's words
    bool realtime = false;  // real sleeps instead of the virtual clock
};

bool IsSimPortName(const std::string& name);

struct SimPortNameResult {
    std::optional<SimPortOptions> options;
    std::string error;
};
SimPortNameResult ParseSimPortName(const std::string& name);

// Hands out simulated ports for "sim..." names and passes every other name
// to `otherPorts`. Each name reaches its own chip, kept for the factory's
// life, so a second run on the same name finds what the first one wrote.
class SimPortFactory : public PortFactory {
public:
    SimPortFactory(PortFactory& otherPorts, FileAccess& files) : otherPorts_(&otherPorts), files_(files) {}
    // Only simulated ports; any other name fails to open.
    explicit SimPortFactory(FileAccess& files) : otherPorts_(nullptr), files_(files) {}

    PortOpenResult Open(const std::string& name) override;

    // The sleeper for a run on `name`: the virtual clock for simulated
    // ports, `real` for "realtime" ones and every other port.
    Sleeper& SleeperFor(const std::string& name, Sleeper& real);

    VirtualClock& Clock() { return clock_; }
    // The chip behind a name opened before, or null.
    std::shared_ptr<SimulatedChip> Chip(const std::string& name) const;

private:
    PortFactory* otherPorts_;
    FileAccess& files_;
    VirtualClock clock_;
    std::map<std::string, std::shared_ptr<SimulatedChip>> chips_;
};

}  // namespace trovik
