#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/file_access.h"
#include "programmer/serial_port.h"
#include "settings/tracker_settings.h"

namespace trovik {

enum class ProgrammingStatus {
    Programmed,     // every word verified: "Pic Programmed Successfully"
    VerifyFailed,   // a word did not read back: "Verify Failed"
    TemplateError,  // the template could not be read or is damaged; no port opened
    PortError,      // the port could not be opened, or a port operation failed
    Interrupted,    // the caller asked to stop; the lines were left safe
};

struct ProgrammingOutcome {
    ProgrammingStatus status = ProgrammingStatus::PortError;
    std::string message;        // the message to show the user
    // For VerifyFailed: the word that did not verify.
    std::size_t failedAddress = 0;
    std::uint16_t expected = 0;
    std::uint16_t read = 0;
    std::size_t wordsProgrammed = 0;
    std::size_t wordsVerified = 0;  // words 0 to wordsVerified - 1 hold the image
};

// What a run tells its caller while it works.
class ProgrammingObserver {
public:
    virtual ~ProgrammingObserver() = default;
    // After every word: `word` of 1024 done, `programmed` of them written.
    virtual void OnProgress(std::size_t word, std::size_t programmed) = 0;
    // Shown while the chip is still in program mode, before the
    // configuration word; the run goes on when this returns.
    virtual void OnVerifyFailed(const ProgrammingOutcome& outcome) = 0;
    // Polled between operations; true stops the run safely.
    virtual bool StopRequested() { return false; }
};

inline constexpr const char* kVerifyFailedMessage = "Verify Failed";
inline constexpr const char* kProgrammedMessage = "Pic Programmed Successfully";

// Programmed at the end of every run that got through its words or stopped
// at "Verify Failed".
inline constexpr std::uint16_t kConfigurationWord = 0x3FF2;

struct PortChoice {
    std::string name;   // "COM1" to "COM8"
    std::string error;  // set, and name empty, for an index outside 0 to 7
};
// The port that comPortIndex selects in the window's list.
PortChoice PortNameForIndex(int comPortIndex);

// "Verify Failed" details: "word 40 (address 0x0028): expected 0x1283, read 0x3fff".
std::string DescribeVerifyFailure(const ProgrammingOutcome& outcome);

// "Program PIC" after the settings have been read: builds the image from
// the template, opens the port, programs and verifies every word,
// programs the configuration word, leaves program mode and closes the port
// whatever happens.
//
// Every way out (success, "Verify Failed", a failed port operation, a stop
// request, an exception from the port or the observer) goes through one
// exit: the break off, DTR and RTS low, the port closed. A failed port
// operation stops the run at once (no configuration word) and the outcome
// says what failed; so does a stop request. Exceptions go on to the caller
// after the lines are safe. The caller raises the process priority and
// chooses the sleeper (platform/ or a virtual clock).
ProgrammingOutcome RunProgramming(const TrackerSettings& settings, FileAccess& files,
                                  const std::string& templatePath, const std::string& portName,
                                  PortFactory& ports, Sleeper& sleeper, ProgrammingObserver& observer);

// The same on the port that settings.comPortIndex selects ("COM1" to
// "COM8"); an index outside 0 to 7 opens nothing.
ProgrammingOutcome RunProgramming(const TrackerSettings& settings, FileAccess& files,
                                  const std::string& templatePath, PortFactory& ports,
                                  Sleeper& sleeper, ProgrammingObserver& observer);

}  // namespace trovik
