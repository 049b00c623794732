#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace trovik {

struct SimulatedChipOptions {
    bool absent = false;                // no chip behind the adapter: CTS stays low
    std::optional<std::size_t> failAt;  // this program word never takes a write
};

// The programming adapter with a PIC16 behind it, seen from the port's
// lines: RTS is the clock, DTR the data to the chip, CTS the data from it,
// the break state its programming voltage.
//
// Break coming on with clock and data low enters program/verify mode at
// address 0; without it nothing answers. Six-bit commands (least
// significant bit first) and 16-clock data frames (start bit, bits 0 to 13,
// stop bit) are latched on the clock's falling edge; a read frame drives
// bit i on CTS from the rising edge of clock i + 1. Commands: Load
// Configuration (0x00: address 0x2000, latch the frame), Load Data (0x02),
// Read Data (0x04), Increment Address (0x06), Begin Programming (0x08:
// writes the latch at the address once 10 ms have passed; a clock edge or
// the break going off sooner leaves the word unwritten). Others are
// ignored. Memory: 1024 program words (higher addresses below 0x2000
// alias them), ID words 0x2000-0x2003, the device ID at 0x2006 (read only)
// and the configuration word at 0x2007; all start blank (0x3FFF).
class SimulatedChip {
public:
    using Time = std::chrono::nanoseconds;

    static constexpr std::size_t kProgramWords = 1024;
    static constexpr std::uint16_t kConfigurationBase = 0x2000;
    static constexpr std::uint16_t kDeviceIdAddress = 0x2006;
    static constexpr std::uint16_t kConfigurationAddress = 0x2007;
    static constexpr std::uint16_t kDeviceId = 0x0560;
    static constexpr std::uint16_t kBlank = 0x3FFF;
    static constexpr Time kProgrammingTime = std::chrono::milliseconds(10);

    explicit SimulatedChip(SimulatedChipOptions options = {});

    // The port's side: line changes at the time they happen.
    void SetDtr(bool raised, Time now);
    void SetRts(bool raised, Time now);
    void SetBreak(bool on, Time now);
    bool Cts() const { return cts_; }
    void PortClosed() { portClosed_ = true; }

    // The chip as a test sees it.
    std::uint16_t ProgramWord(std::size_t address) const { return program_[address % kProgramWords]; }
    void SetProgramWord(std::size_t address, std::uint16_t word);
    void SetConfigurationWord(std::uint16_t word);
    std::uint16_t ConfigurationWord() const { return configuration_[7]; }
    std::uint16_t Read(std::uint16_t address) const;
    bool InProgramMode() const { return programMode_; }
    std::uint16_t Address() const { return address_; }
    bool Dtr() const { return dtr_; }
    bool Rts() const { return rts_; }
    bool BreakOn() const { return break_; }
    bool PortWasClosed() const { return portClosed_; }
    std::size_t WordsWritten() const { return wordsWritten_; }          // program memory
    std::size_t WritesLost() const { return writesLost_; }              // cut short
    std::size_t ConfigurationWrites() const { return configurationWrites_; }

private:
    enum class Phase { Command, FrameIn, FrameOut };

    void ClockRising(Time now);
    void ClockFalling();
    void Execute(unsigned command, Time now);
    void SettleWrite(Time now);
    void Write(std::uint16_t address, std::uint16_t word);

    SimulatedChipOptions options_;
    std::array<std::uint16_t, kProgramWords> program_;
    std::array<std::uint16_t, 8> configuration_;  // 0x2000 to 0x2007

    bool dtr_ = false;
    bool rts_ = false;
    bool break_ = false;
    bool cts_ = false;
    bool portClosed_ = false;

    bool programMode_ = false;
    std::uint16_t address_ = 0;
    std::uint16_t latch_ = kBlank;
    Phase phase_ = Phase::Command;
    unsigned shift_ = 0;  // bits received of the command or frame
    int clocks_ = 0;      // falling edges so far in the command or frame
    bool frameLoadsConfiguration_ = false;
    std::uint16_t readValue_ = 0;

    struct PendingWrite {
        std::uint16_t address;
        std::uint16_t word;
        Time started;
    };
    std::optional<PendingWrite> pending_;

    std::size_t wordsWritten_ = 0;
    std::size_t writesLost_ = 0;
    std::size_t configurationWrites_ = 0;
};

}  // namespace trovik
