#include "programmer/chip_reader.h"

#include <algorithm>

#include "image/image_words.h"
#include "programmer/programming_link.h"

namespace trovik {

ChipPresence JudgePresence(const std::vector<std::uint16_t>& words) {
    auto all = [&](std::uint16_t value) {
        return std::all_of(words.begin(), words.end(), [value](std::uint16_t w) { return w == value; });
    };
    if (all(0)) return ChipPresence::NoChip;
    // An erased chip reads 0x3FFF everywhere but at its device ID.
    if (all(kWordMask)) return ChipPresence::LineHigh;
    return ChipPresence::Answers;
}

ChipPresence JudgePresence(const ChipContents& contents) {
    std::vector<std::uint16_t> words(contents.words.begin(), contents.words.end());
    words.push_back(contents.deviceId);
    words.push_back(contents.configurationWord);
    return JudgePresence(words);
}

ChipReadOutcome ReadChip(SerialPort& port, const std::string& portName, Sleeper& sleeper,
                         ReadObserver& observer) {
    ChipReadOutcome outcome;
    ProgrammingLink link(port, sleeper);
    SafeLines safe(link);

    std::string phase = "while entering program mode";
    bool interrupted = false;
    link.EnterProgrammingMode();
    for (std::size_t i = 0; i < outcome.contents.words.size() && !link.Failed(); ++i) {
        if (observer.StopRequested()) {
            interrupted = true;
            break;
        }
        phase = "at word " + std::to_string(i);
        outcome.contents.words[i] = link.ReadWord();
        link.IncrementAddress();
        if (link.Failed()) break;
        outcome.wordsRead = i + 1;
        observer.OnProgress(i + 1);
    }
    if (!link.Failed() && !interrupted) {
        phase = "while reading the device ID and the configuration word";
        link.LoadConfiguration(kWordMask);
        for (int i = 0; i < kDeviceIdIncrements; ++i) link.IncrementAddress();
        outcome.contents.deviceId = link.ReadWord();
        link.IncrementAddress();
        outcome.contents.configurationWord = link.ReadWord();
    }
    if (!link.Failed()) {
        phase = "while leaving program mode";
        link.LeaveProgrammingMode();
    }

    if (link.Failed()) {
        outcome.status = ReadStatus::PortError;
        outcome.message = "Reading on " + portName + " stopped " + phase + ": " + link.Failure() +
                          ". The lines were left safe where the port allowed it; nothing was written to "
                          "the chip. Check the port and the adapter, then try again.";
    } else if (interrupted) {
        outcome.status = ReadStatus::Interrupted;
        outcome.message = "Reading was interrupted after " + std::to_string(outcome.wordsRead) + " of " +
                          std::to_string(outcome.contents.words.size()) +
                          " words; the chip was taken out of program mode and nothing was written to it.";
    } else {
        outcome.status = ReadStatus::Read;
    }
    return outcome;
}

ChipReadOutcome ReadChip(const std::string& portName, PortFactory& ports, Sleeper& sleeper,
                         ReadObserver& observer) {
    if (observer.StopRequested()) {
        ChipReadOutcome outcome;
        outcome.status = ReadStatus::Interrupted;
        outcome.message = "Reading was interrupted before the port was opened.";
        return outcome;
    }
    PortOpenResult opened = ports.Open(portName);
    if (!opened.port) {
        ChipReadOutcome outcome;
        outcome.message = opened.error.empty() ? "The port " + portName + " could not be opened." : opened.error;
        return outcome;
    }
    return ReadChip(*opened.port, portName, sleeper, observer);
}

std::vector<WordDifference> CompareChip(const WordTable& expected, std::uint16_t expectedConfigurationWord,
                                        const ChipContents& chip) {
    std::vector<WordDifference> differences;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (chip.words[i] != expected[i]) differences.push_back({false, i, expected[i], chip.words[i]});
    if (chip.configurationWord != expectedConfigurationWord)
        differences.push_back({true, kConfigurationWordAddress, expectedConfigurationWord, chip.configurationWord});
    return differences;
}

}  // namespace trovik
