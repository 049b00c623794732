#include "programmer/programming_run.h"

#include <memory>

#include "image/hex_export.h"
#include "programmer/programming_link.h"
#include "programmer/word_table.h"

namespace trovik {

namespace {

std::string WordName(std::size_t address) {
    return "word " + std::to_string(address) + " (address " + HexWord(static_cast<unsigned>(address)) + ")";
}

// Program mode, the loop and the configuration word on an open port. The
// lines are safe when this returns or throws.
void ProgramChip(SerialPort& port, const std::string& portName, const WordTable& table,
                 Sleeper& sleeper, ProgrammingObserver& observer, ProgrammingOutcome& outcome) {
    ProgrammingLink link(port, sleeper);
    SafeLines safe(link);

    std::string phase = "while entering program mode";
    bool verifyFailed = false;
    bool interrupted = false;

    link.EnterProgrammingMode();
    for (std::size_t i = 0; i < table.size() && !link.Failed(); ++i) {
        if (observer.StopRequested()) {
            interrupted = true;
            break;
        }
        phase = "at " + WordName(i);
        const std::uint16_t expected = table[i];
        std::uint16_t read = link.ReadWord();
        if (link.Failed()) break;
        if (read != expected) {
            link.ProgramWord(expected);
            ++outcome.wordsProgrammed;
            if (link.Failed()) break;
        }
        read = link.ReadWord();
        if (link.Failed()) break;
        if (read != expected) {
            verifyFailed = true;
            outcome.status = ProgrammingStatus::VerifyFailed;
            outcome.message = kVerifyFailedMessage;
            outcome.failedAddress = i;
            outcome.expected = expected;
            outcome.read = read;
            observer.OnVerifyFailed(outcome);
            break;
        }
        link.Sleep(1);
        link.IncrementAddress();
        if (link.Failed()) break;
        outcome.wordsVerified = i + 1;
        observer.OnProgress(i + 1, outcome.wordsProgrammed);
    }

    if (!link.Failed() && !interrupted && observer.StopRequested()) interrupted = true;
    if (!link.Failed() && !interrupted) {
        phase = "while programming the configuration word";
        link.ProgramConfigurationWord(kConfigurationWord);
    }
    if (!link.Failed()) {
        phase = "while leaving program mode";
        link.LeaveProgrammingMode();
    }

    if (link.Failed()) {
        outcome.status = ProgrammingStatus::PortError;
        outcome.message = "Programming on " + portName + " stopped " + phase + ": " + link.Failure() + ".";
        if (verifyFailed)
            outcome.message += " Before that, " + WordName(outcome.failedAddress) + " did not verify.";
        outcome.message +=
            " The lines were left safe where the port allowed it. Check the port and the "
            "adapter, then program the chip again.";
    } else if (interrupted) {
        outcome.status = ProgrammingStatus::Interrupted;
        outcome.message = "Programming was interrupted after " + std::to_string(outcome.wordsVerified) +
                          " of " + std::to_string(table.size()) +
                          " words; the chip was taken out of program mode and the port closed. "
                          "The chip holds only part of the image: program it again.";
    } else if (!verifyFailed) {
        outcome.status = ProgrammingStatus::Programmed;
        outcome.message = kProgrammedMessage;
    }
}

}  // namespace

PortChoice PortNameForIndex(int comPortIndex) {
    if (comPortIndex < 0 || comPortIndex >= kComPortCount)
        return {{},
                "comPortIndex " + std::to_string(comPortIndex) + " selects no port: it must be 0 to " +
                    std::to_string(kComPortCount - 1) + " (COM1 to COM" + std::to_string(kComPortCount) +
                    ")."};
    return {ComPortName(comPortIndex), {}};
}

std::string DescribeVerifyFailure(const ProgrammingOutcome& outcome) {
    return WordName(outcome.failedAddress) + ": expected " + HexWord(outcome.expected) + ", read " +
           HexWord(outcome.read);
}

ProgrammingOutcome RunProgramming(const TrackerSettings& settings, FileAccess& files,
                                  const std::string& templatePath, const std::string& portName,
                                  PortFactory& ports, Sleeper& sleeper, ProgrammingObserver& observer) {
    ProgrammingOutcome outcome;
    ImageResult built = BuildImageFromTemplate(files, settings, templatePath);
    if (!built.image) {
        outcome.status = ProgrammingStatus::TemplateError;
        outcome.message = built.error + " Nothing was programmed.";
        return outcome;
    }
    const WordTable table = BuildWordTable(*built.image);
    if (observer.StopRequested()) {
        outcome.status = ProgrammingStatus::Interrupted;
        outcome.message = "Programming was interrupted before the port was opened; nothing was programmed.";
        return outcome;
    }

    PortOpenResult opened = ports.Open(portName);
    if (!opened.port) {
        outcome.status = ProgrammingStatus::PortError;
        outcome.message = opened.error.empty() ? "The port " + portName + " could not be opened."
                                               : opened.error;
        return outcome;
    }
    try {
        ProgramChip(*opened.port, portName, table, sleeper, observer, outcome);
    } catch (...) {
        // The lines are safe by now; close the port before the exception
        // leaves, even if nobody above catches it.
        opened.port.reset();
        throw;
    }
    opened.port.reset();
    return outcome;
}

ProgrammingOutcome RunProgramming(const TrackerSettings& settings, FileAccess& files,
                                  const std::string& templatePath, PortFactory& ports,
                                  Sleeper& sleeper, ProgrammingObserver& observer) {
    const PortChoice choice = PortNameForIndex(settings.comPortIndex);
    if (choice.name.empty()) {
        ProgrammingOutcome outcome;
        outcome.status = ProgrammingStatus::PortError;
        outcome.message = choice.error + " No port was opened.";
        return outcome;
    }
    return RunProgramming(settings, files, templatePath, choice.name, ports, sleeper, observer);
}

}  // namespace trovik
