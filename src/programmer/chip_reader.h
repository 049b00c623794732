#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "programmer/serial_port.h"
#include "programmer/word_table.h"

namespace trovik {

// From Load Configuration (0x2000): six increments reach the device ID,
// seven the configuration word.
inline constexpr int kDeviceIdIncrements = 6;

// What a chip holds, as far as the commands that only read look at it.
struct ChipContents {
    WordTable words{};
    std::uint16_t deviceId = 0;           // the word at 0x2006
    std::uint16_t configurationWord = 0;  // the word at 0x2007
};

// What a chip's answers say about what is behind the adapter.
enum class ChipPresence {
    Answers,    // the words vary: a chip drives CTS
    NoChip,     // every bit read 0: CTS stays low
    LineHigh,   // every bit read 1: CTS stays high (adapter unpowered or wired otherwise)
};
ChipPresence JudgePresence(const std::vector<std::uint16_t>& words);
ChipPresence JudgePresence(const ChipContents& contents);

enum class ReadStatus {
    Read,         // every word was read
    PortError,    // the port could not be opened, or an operation failed
    Interrupted,  // the caller asked to stop; the lines were left safe
};

struct ChipReadOutcome {
    ReadStatus status = ReadStatus::PortError;
    ChipContents contents;       // complete only when status is Read
    std::size_t wordsRead = 0;
    std::string message;         // what went wrong, for PortError and Interrupted
};

// What a reading run tells its caller while it works.
class ReadObserver {
public:
    virtual ~ReadObserver() = default;
    // After every program word: `word` of 1024 read.
    virtual void OnProgress(std::size_t word) = 0;
    // Polled between words; true stops the run safely.
    virtual bool StopRequested() { return false; }
};

// Reads program words 0 to 1023, the device ID and the configuration word.
// Nothing is ever programmed: the only commands sent are Read Data,
// Increment Address and Load Configuration, whose latched 0x3FFF is never
// followed by Begin Programming. Program mode is left and the lines made
// safe on every way out. The port stays open; the caller closes it.
ChipReadOutcome ReadChip(SerialPort& port, const std::string& portName, Sleeper& sleeper,
                         ReadObserver& observer);
// The same on a port opened from `ports` and closed afterwards.
ChipReadOutcome ReadChip(const std::string& portName, PortFactory& ports, Sleeper& sleeper,
                         ReadObserver& observer);

// A word the chip holds otherwise than expected.
struct WordDifference {
    bool configurationWord = false;  // the word at 0x2007, else program word `address`
    std::size_t address = 0;
    std::uint16_t expected = 0;
    std::uint16_t read = 0;
};

// Every program word and the configuration word that differ, in address
// order, the configuration word last.
std::vector<WordDifference> CompareChip(const WordTable& expected, std::uint16_t expectedConfigurationWord,
                                        const ChipContents& chip);

}  // namespace trovik
