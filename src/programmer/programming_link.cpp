#include "programmer/programming_link.h"

namespace trovik {

void BusyWait(std::chrono::nanoseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
    }
}

void Sleeper::ShortDelay() { BusyWait(kShortDelay); }

void ProgrammingLink::Fail(const std::string& what) {
    failed_ = true;
    failure_ = "the port could not " + std::string(what);
    std::string reason = port_.LastError();
    if (!reason.empty()) failure_ += ": " + reason;
}

bool ProgrammingLink::SetLine(ModemLine line, bool raised) {
    if (failed_) return false;
    bool& mayBeHigh = lineMayBeHigh_[static_cast<std::size_t>(line)];
    if (raised) mayBeHigh = true;
    if (!port_.SetLine(line, raised)) {
        const std::string_view name = line == ModemLine::Dtr ? "DTR" : "RTS";
        Fail(std::string(raised ? "raise " : "lower ") + std::string(name));
        return false;
    }
    if (!raised) mayBeHigh = false;
    return true;
}

bool ProgrammingLink::SetBreak(bool on) {
    if (failed_) return false;
    if (on) breakMayBeOn_ = true;
    if (!port_.SetBreak(on)) {
        Fail(on ? "switch the break on" : "switch the break off");
        return false;
    }
    if (!on) breakMayBeOn_ = false;
    return true;
}

bool ProgrammingLink::ReadCts() {
    if (failed_) return false;
    bool raised = false;
    if (!port_.ReadCts(raised)) {
        Fail("read CTS");
        return false;
    }
    return raised;
}

void ProgrammingLink::SendBit(bool bit) {
    SetLine(kLineAssignment.dataToChip, bit);
    SetLine(kLineAssignment.clock, true);
    ShortDelay();
    SetLine(kLineAssignment.clock, false);
    ShortDelay();
    if (bit) SetLine(kLineAssignment.dataToChip, false);
}

void ProgrammingLink::SendCommand(ChipCommand command) {
    const auto code = static_cast<unsigned>(command);
    for (int i = 0; i < kCommandBits; ++i) SendBit(((code >> i) & 1U) != 0);
}

void ProgrammingLink::SendDataFrame(std::uint16_t word) {
    SendBit(false);
    for (int i = 0; i < kWordBits; ++i) SendBit(((word >> i) & 1U) != 0);
    SendBit(false);
}

void ProgrammingLink::EnterProgrammingMode() {
    SetLine(kLineAssignment.dataToChip, false);
    SetLine(kLineAssignment.clock, false);
    Sleep(kEnterSettleMs);
    SetBreak(true);
    Sleep(kEnterHoldMs);
}

void ProgrammingLink::LeaveProgrammingMode() { SetBreak(false); }

void ProgrammingLink::BeginProgramming() {
    SendCommand(ChipCommand::BeginProgramming);
    Sleep(kProgrammingTimeMs);
}

void ProgrammingLink::IncrementAddress() { SendCommand(ChipCommand::IncrementAddress); }

void ProgrammingLink::ProgramWord(std::uint16_t word) {
    SendCommand(ChipCommand::LoadData);
    ShortDelay();
    SendDataFrame(word);
    BeginProgramming();
}

void ProgrammingLink::LoadConfiguration(std::uint16_t word) {
    SendCommand(ChipCommand::LoadConfiguration);
    ShortDelay();
    SendDataFrame(word);
}

void ProgrammingLink::ProgramConfigurationWord(std::uint16_t word) {
    LoadConfiguration(word);
    for (int i = 0; i < kConfigurationIncrements; ++i) IncrementAddress();
    BeginProgramming();
}

std::uint16_t ProgrammingLink::ReadWord() {
    SendCommand(ChipCommand::ReadData);
    ShortDelay();
    // Start clock: the chip starts driving its data line; nothing to sample.
    SetLine(kLineAssignment.clock, true);
    SetLine(kLineAssignment.clock, false);
    // The word arrives least significant bit first: each sample enters at
    // bit 13 and moves down one place per later clock.
    std::uint16_t word = 0;
    for (int i = 0; i < kWordBits; ++i) {
        SetLine(kLineAssignment.clock, true);
        ShortDelay();
        if (ReadCts()) word = static_cast<std::uint16_t>(word | 0x2000U);
        SetLine(kLineAssignment.clock, false);
        ShortDelay();
        if (i < kWordBits - 1) word = static_cast<std::uint16_t>(word >> 1);
    }
    // Stop clock.
    SetLine(kLineAssignment.clock, true);
    SetLine(kLineAssignment.clock, false);
    return word;
}

void ProgrammingLink::MakeSafe() noexcept {
    // Programming voltage first, so no clock edge below can reach a chip
    // that is still in program mode.
    try {
        if (breakMayBeOn_ && port_.SetBreak(false)) breakMayBeOn_ = false;
    } catch (...) {
    }
    for (ModemLine line : {kLineAssignment.dataToChip, kLineAssignment.clock}) {
        bool& mayBeHigh = lineMayBeHigh_[static_cast<std::size_t>(line)];
        try {
            if (mayBeHigh && port_.SetLine(line, false)) mayBeHigh = false;
        } catch (...) {
        }
    }
}

}  // namespace trovik
