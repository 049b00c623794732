#include "sim/simulated_chip.h"

namespace trovik {

namespace {

constexpr int kCommandClocks = 6;
constexpr int kFrameClocks = 16;  // start bit, 14 data bits, stop bit
constexpr std::uint16_t kWordMask = 0x3FFF;
constexpr std::uint16_t kConfigurationSpace = 0x2000;

}  // namespace

SimulatedChip::SimulatedChip(SimulatedChipOptions options) : options_(options) {
    program_.fill(kBlank);
    configuration_ = {kBlank, kBlank, kBlank, kBlank, 0, 0, kDeviceId, kBlank};
}

void SimulatedChip::SetProgramWord(std::size_t address, std::uint16_t word) {
    program_[address % kProgramWords] = word & kWordMask;
}

void SimulatedChip::SetConfigurationWord(std::uint16_t word) { configuration_[7] = word & kWordMask; }

std::uint16_t SimulatedChip::Read(std::uint16_t address) const {
    if (address < kConfigurationSpace) return program_[address % kProgramWords];
    return configuration_[address & 7U];
}

void SimulatedChip::SetDtr(bool raised, Time) { dtr_ = raised; }

void SimulatedChip::SetRts(bool raised, Time now) {
    if (raised == rts_) return;
    rts_ = raised;
    if (!programMode_) return;
    if (raised)
        ClockRising(now);
    else
        ClockFalling();
    if (phase_ == Phase::Command && clocks_ == kCommandClocks) {
        const unsigned command = shift_;
        shift_ = 0;
        clocks_ = 0;
        Execute(command, now);
    }
}

void SimulatedChip::SetBreak(bool on, Time now) {
    if (on == break_) return;
    break_ = on;
    if (options_.absent) return;
    if (on) {
        // Program/verify mode needs clock and data low as the voltage rises.
        if (dtr_ || rts_) return;
        programMode_ = true;
        address_ = 0;
        phase_ = Phase::Command;
        shift_ = 0;
        clocks_ = 0;
    } else {
        SettleWrite(now);
        programMode_ = false;
        cts_ = false;
    }
}

void SimulatedChip::ClockRising(Time now) {
    // A write in progress ends here: done if its time has passed, lost if not.
    SettleWrite(now);
    if (phase_ == Phase::FrameOut)
        cts_ = clocks_ >= 1 && clocks_ <= 14 && ((readValue_ >> (clocks_ - 1)) & 1U) != 0;
}

void SimulatedChip::ClockFalling() {
    const unsigned bit = dtr_ ? 1U : 0U;
    switch (phase_) {
        case Phase::Command:
            shift_ |= bit << clocks_;
            ++clocks_;
            break;
        case Phase::FrameIn:
            if (clocks_ >= 1 && clocks_ <= 14) shift_ |= bit << (clocks_ - 1);
            if (++clocks_ == kFrameClocks) {
                latch_ = static_cast<std::uint16_t>(shift_ & kWordMask);
                phase_ = Phase::Command;
                shift_ = 0;
                clocks_ = 0;
            }
            break;
        case Phase::FrameOut:
            if (++clocks_ == kFrameClocks) {
                cts_ = false;
                phase_ = Phase::Command;
                clocks_ = 0;
            }
            break;
    }
}

void SimulatedChip::Execute(unsigned command, Time now) {
    switch (command) {
        case 0x00:  // Load Configuration
            address_ = kConfigurationSpace;
            phase_ = Phase::FrameIn;
            break;
        case 0x02:  // Load Data for Program Memory
            phase_ = Phase::FrameIn;
            break;
        case 0x04:  // Read Data from Program Memory
            readValue_ = Read(address_);
            phase_ = Phase::FrameOut;
            break;
        case 0x06:  // Increment Address, within program or configuration space
            address_ = static_cast<std::uint16_t>((address_ & kConfigurationSpace) |
                                                  ((address_ + 1U) & (kConfigurationSpace - 1U)));
            break;
        case 0x08:  // Begin Programming
            pending_ = PendingWrite{address_, latch_, now};
            break;
        default:
            break;
    }
}

void SimulatedChip::SettleWrite(Time now) {
    if (!pending_) return;
    if (now - pending_->started >= kProgrammingTime)
        Write(pending_->address, pending_->word);
    else
        ++writesLost_;
    pending_.reset();
}

void SimulatedChip::Write(std::uint16_t address, std::uint16_t word) {
    word &= kWordMask;
    if (address < kConfigurationSpace) {
        const std::size_t index = address % kProgramWords;
        if (options_.failAt && *options_.failAt == index) return;
        program_[index] = word;
        ++wordsWritten_;
        return;
    }
    const unsigned offset = address & 7U;
    if (offset <= 3) configuration_[offset] = word;  // ID words
    if (offset == 7) {
        configuration_[offset] = word;
        ++configurationWrites_;
    }
}

}  // namespace trovik
