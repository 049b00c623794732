#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "programmer/serial_port.h"

namespace trovik {

// Which port line carries which signal of the chip's serial programming
// interface. The adapter wires CTS to the chip's data output and the break
// state of the transmit line to its programming voltage; those two are
// fixed by SerialPort's ReadCts and SetBreak.
struct LineAssignment {
    ModemLine clock;       // to the chip, bits latched on its falling edge
    ModemLine dataToChip;  // raised line = 1 bit
};
inline constexpr LineAssignment kLineAssignment{ModemLine::Rts, ModemLine::Dtr};

// The six-bit commands the link sends, least significant bit first. No
// other command is ever sent (no bulk erase, nothing for data memory).
enum class ChipCommand : std::uint8_t {
    LoadConfiguration = 0x00,
    LoadData = 0x02,
    ReadData = 0x04,
    IncrementAddress = 0x06,
    BeginProgramming = 0x08,
};

enum class DataFrame { None, ToChip, FromChip };

struct ChipCommandInfo {
    ChipCommand command;
    std::string_view name;
    DataFrame frame;  // what follows the command
};

inline constexpr std::array<ChipCommandInfo, 5> kChipCommands{{
    {ChipCommand::LoadConfiguration, "Load Configuration", DataFrame::ToChip},
    {ChipCommand::LoadData, "Load Data for Program Memory", DataFrame::ToChip},
    {ChipCommand::ReadData, "Read Data from Program Memory", DataFrame::FromChip},
    {ChipCommand::IncrementAddress, "Increment Address", DataFrame::None},
    {ChipCommand::BeginProgramming, "Begin Programming", DataFrame::None},
}};

inline constexpr int kCommandBits = 6;
inline constexpr int kWordBits = 14;             // a frame carries bits 0 to 13
inline constexpr std::uint16_t kWordMask = 0x3FFF;
inline constexpr int kEnterSettleMs = 1;         // lines low before the break
inline constexpr int kEnterHoldMs = 1000;        // break on before the first command
inline constexpr int kProgrammingTimeMs = 10;    // after Begin Programming
inline constexpr int kConfigurationIncrements = 7;  // 0x2000 to the configuration word at 0x2007
inline constexpr std::chrono::nanoseconds kShortDelay = std::chrono::microseconds(1);

// Spins for at least `duration` without giving up the processor. Each turn
// reads the clock, which the compiler cannot drop.
void BusyWait(std::chrono::nanoseconds duration);

// The chip operations over a port's control lines. The port and the timing
// belong to the caller. Every line change, status read, pause and sleep goes
// through `port` and `timing`, in exactly the order the chip expects.
//
// The first port operation that fails stops the link: later operations
// issue nothing, Failed() is true and Failure() says what failed.
// MakeSafe() still works then: it is the one way out of program mode that
// every caller uses, whatever happened (see SafeLines).
class ProgrammingLink {
public:
    ProgrammingLink(SerialPort& port, Sleeper& timing) : port_(port), timing_(timing) {}
    ProgrammingLink(const ProgrammingLink&) = delete;
    ProgrammingLink& operator=(const ProgrammingLink&) = delete;

    // Chip operations. After each of them DTR and RTS are low.
    void EnterProgrammingMode();  // CLRDTR, CLRRTS, sleep 1, break on, sleep 1000; address 0
    void LeaveProgrammingMode();  // break off
    std::uint16_t ReadWord();     // the word at the current address, bits 14 and 15 clear
    void ProgramWord(std::uint16_t word);  // Load Data, frame, Begin Programming
    void IncrementAddress();
    void BeginProgramming();      // the command, then 10 ms
    // Load Configuration (address 0x2000), seven increments, Begin
    // Programming: writes `word` at 0x2007.
    void ProgramConfigurationWord(std::uint16_t word);
    // Load Configuration with its frame: the address moves to 0x2000 and
    // `word` is latched. Used to reach the configuration area (0x2006 holds
    // the device ID).
    void LoadConfiguration(std::uint16_t word);

    // Building blocks.
    void SendBit(bool bit);
    void SendCommand(ChipCommand command);
    void SendDataFrame(std::uint16_t word);  // start bit, bits 0 to 13, stop bit
    // Pauses and sleeps are skipped once the link has failed.
    void ShortDelay() {
        if (!failed_) timing_.ShortDelay();
    }
    void Sleep(int milliseconds) {
        if (!failed_) timing_.SleepMs(milliseconds);
    }

    bool Failed() const { return failed_; }
    const std::string& Failure() const { return failure_; }

    // Leaves the lines safe after anything: switches the break off if it
    // may be on, then lowers DTR and RTS where they may be high. Tries each
    // step even after a failure and reports nothing. Lines known to be in
    // their safe state are left alone, so after a clean LeaveProgrammingMode
    // it issues nothing.
    void MakeSafe() noexcept;

private:
    bool SetLine(ModemLine line, bool raised);
    bool SetBreak(bool on);
    bool ReadCts();
    void Fail(const std::string& what);

    SerialPort& port_;
    Sleeper& timing_;
    bool failed_ = false;
    std::string failure_;
    // What the lines may be: a freshly opened port may have DTR and RTS
    // raised by its driver; a failed change leaves the line unknown.
    std::array<bool, 2> lineMayBeHigh_{true, true};  // by ModemLine
    bool breakMayBeOn_ = false;
};

// Calls MakeSafe() when it goes out of scope, so every way out of a block
// that drives the chip (return, failure, exception) leaves the lines safe.
class SafeLines {
public:
    explicit SafeLines(ProgrammingLink& link) : link_(link) {}
    ~SafeLines() { link_.MakeSafe(); }
    SafeLines(const SafeLines&) = delete;
    SafeLines& operator=(const SafeLines&) = delete;

private:
    ProgrammingLink& link_;
};

}  // namespace trovik
