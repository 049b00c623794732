#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/hex_export.h"
#include "image/sample_template.h"
#include "programmer/programming_run.h"
#include "programmer/word_table.h"
#include "sim/sim_ports.h"

namespace trovik {
namespace {

using testing::MemoryFiles;

// Remembers what the run reported, and how the chip stood at "Verify Failed".
class RecordingObserver : public ProgrammingObserver {
public:
    std::function<std::shared_ptr<SimulatedChip>()> chip;
    std::size_t stopAfter = SIZE_MAX;  // words before StopRequested turns true
    std::size_t throwAfter = SIZE_MAX;

    std::vector<std::size_t> progress;
    std::size_t lastProgrammed = 0;
    int verifyFailedCalls = 0;
    bool inProgramModeAtVerifyFailed = false;
    std::uint16_t configurationAtVerifyFailed = 0;

    void OnProgress(std::size_t word, std::size_t programmed) override {
        progress.push_back(word);
        lastProgrammed = programmed;
        if (word >= throwAfter) throw std::runtime_error("observer gave up");
    }
    void OnVerifyFailed(const ProgrammingOutcome&) override {
        ++verifyFailedCalls;
        if (chip) {
            inProgramModeAtVerifyFailed = chip()->InProgramMode();
            configurationAtVerifyFailed = chip()->ConfigurationWord();
        }
    }
    bool StopRequested() override { return progress.size() >= stopAfter; }
};

// A port factory that records the names asked of it and opens nothing.
class NoPorts : public PortFactory {
public:
    std::vector<std::string> asked;
    PortOpenResult Open(const std::string& name) override {
        asked.push_back(name);
        return {nullptr, "The port " + name + " does not exist.", {}};
    }
};

// Ports whose n-th operation (counted over the factory's life) fails.
class FailingPorts : public PortFactory {
public:
    FailingPorts(PortFactory& inner, long failAt) : inner_(inner), failAt_(failAt) {}
    long operations = 0;

    PortOpenResult Open(const std::string& name) override {
        PortOpenResult opened = inner_.Open(name);
        opened.port = std::make_unique<Port>(std::move(opened.port), *this);
        return opened;
    }

private:
    class Port : public SerialPort {
    public:
        Port(std::unique_ptr<SerialPort> inner, FailingPorts& owner) : inner_(std::move(inner)), owner_(owner) {}
        bool SetLine(ModemLine line, bool raised) override { return Next() && inner_->SetLine(line, raised); }
        bool ReadCts(bool& raised) override { return Next() && inner_->ReadCts(raised); }
        bool SetBreak(bool on) override { return Next() && inner_->SetBreak(on); }
        std::string LastError() const override { return "Input/output error"; }

    private:
        bool Next() { return owner_.operations++ != owner_.failAt_; }
        std::unique_ptr<SerialPort> inner_;
        FailingPorts& owner_;
    };

    PortFactory& inner_;
    long failAt_;
};

class ProgrammingRunTest : public ::testing::Test {
protected:
    ProgrammingRunTest() {
        files.files["TROVIK.HEX"] = testing::SampleTemplateText();
        table = BuildWordTable(*BuildImageFromTemplate(files, settings).image);
    }

    ProgrammingOutcome Run(const std::string& port, PortFactory* through = nullptr) {
        observer.chip = [this, port] { return ports.Chip(port); };
        observer.progress.clear();
        ProgrammingOutcome outcome = RunProgramming(settings, files, "TROVIK.HEX", port,
                                                    through ? *through : ports, ports.Clock(), observer);
        chip = ports.Chip(port);
        return outcome;
    }

    std::size_t DifferingFromBlank() const {
        return static_cast<std::size_t>(std::count_if(table.begin(), table.end(), [](auto w) { return w != 0x3FFF; }));
    }

    // Break off, both lines low, port closed.
    void ExpectLinesSafe() const {
        ASSERT_TRUE(chip);
        EXPECT_TRUE(chip->PortWasClosed());
        EXPECT_FALSE(chip->BreakOn());
        EXPECT_FALSE(chip->Dtr());
        EXPECT_FALSE(chip->Rts());
    }

    TrackerSettings settings;
    MemoryFiles files;
    SimPortFactory ports{files};
    RecordingObserver observer;
    std::shared_ptr<SimulatedChip> chip;
    WordTable table{};
};

TEST_F(ProgrammingRunTest, BlankChipIsProgrammedAndVerifiedWithTheMandatedWaits) {
    const ProgrammingOutcome outcome = Run("sim");
    EXPECT_EQ(outcome.status, ProgrammingStatus::Programmed);
    EXPECT_EQ(outcome.message, "Pic Programmed Successfully");
    for (std::size_t i = 0; i < table.size(); ++i) ASSERT_EQ(chip->ProgramWord(i), table[i]) << i;
    EXPECT_EQ(chip->ConfigurationWord(), 0x3FF2);
    EXPECT_EQ(outcome.wordsProgrammed, DifferingFromBlank());
    EXPECT_EQ(chip->WordsWritten(), DifferingFromBlank());
    EXPECT_EQ(chip->WritesLost(), 0u);
    EXPECT_EQ(observer.progress.size(), 1024u);
    EXPECT_EQ(observer.progress.back(), 1024u);
    EXPECT_EQ(observer.lastProgrammed, outcome.wordsProgrammed);
    EXPECT_EQ(ports.Clock().SleptMs(), 1 + 1000 + 1024 + 10 * static_cast<long long>(outcome.wordsProgrammed + 1));
    ExpectLinesSafe();
}

TEST_F(ProgrammingRunTest, ChipAlreadyHoldingTheImageGetsOnlyTheConfigurationWord) {
    ASSERT_EQ(Run("sim").status, ProgrammingStatus::Programmed);
    const std::size_t writesBefore = chip->WordsWritten();
    const ProgrammingOutcome again = Run("sim");  // the same chip
    EXPECT_EQ(again.status, ProgrammingStatus::Programmed);
    EXPECT_EQ(again.wordsProgrammed, 0u);
    EXPECT_EQ(chip->WordsWritten(), writesBefore);
    EXPECT_EQ(chip->ConfigurationWrites(), 2u);
}

TEST_F(ProgrammingRunTest, PersistentFailureAtWordKStopsThereAndStillProgramsTheConfigurationWord) {
    std::size_t lastUsed = table.size() - 1;
    while (table[lastUsed] == 0x3FFF) --lastUsed;
    for (std::size_t k : {std::size_t{0}, std::size_t{40}, lastUsed}) {
        ASSERT_NE(table[k], 0x3FFF);
        const std::string port = "sim:fail-at=" + std::to_string(k);
        const ProgrammingOutcome outcome = Run(port);
        EXPECT_EQ(outcome.status, ProgrammingStatus::VerifyFailed) << k;
        EXPECT_EQ(outcome.message, "Verify Failed");
        EXPECT_EQ(outcome.failedAddress, k);
        EXPECT_EQ(outcome.expected, table[k]);
        EXPECT_EQ(outcome.read, 0x3FFF);
        EXPECT_EQ(observer.verifyFailedCalls, 1);
        observer.verifyFailedCalls = 0;
        // Shown while still in program mode, before the configuration word.
        EXPECT_TRUE(observer.inProgramModeAtVerifyFailed);
        EXPECT_EQ(observer.configurationAtVerifyFailed, 0x3FFF);
        EXPECT_EQ(observer.progress.size(), k);
        for (std::size_t i = 0; i < k; ++i) ASSERT_EQ(chip->ProgramWord(i), table[i]);
        for (std::size_t i = k; i < 1024; ++i) ASSERT_EQ(chip->ProgramWord(i), 0x3FFF) << i;
        EXPECT_EQ(chip->ConfigurationWord(), 0x3FF2);
        ExpectLinesSafe();
    }
}

TEST_F(ProgrammingRunTest, AbsentChipFailsAtTheFirstWordAfterOneWrite) {
    const ProgrammingOutcome outcome = Run("sim:absent");
    EXPECT_EQ(outcome.status, ProgrammingStatus::VerifyFailed);
    EXPECT_EQ(outcome.failedAddress, 0u);
    EXPECT_EQ(outcome.read, 0x0000);
    EXPECT_EQ(outcome.wordsProgrammed, 1u);
    EXPECT_EQ(DescribeVerifyFailure(outcome), "word 0 (address 0x0000): expected 0x28b8, read 0x0000");
}

TEST_F(ProgrammingRunTest, NothingHappensWithoutATemplateOrAPort) {
    NoPorts none;
    files.files.erase("TROVIK.HEX");
    ProgrammingOutcome outcome = RunProgramming(settings, files, "TROVIK.HEX", "COM1", none, ports.Clock(), observer);
    EXPECT_EQ(outcome.status, ProgrammingStatus::TemplateError);
    EXPECT_NE(outcome.message.find("TROVIK.HEX"), std::string::npos) << outcome.message;
    EXPECT_TRUE(none.asked.empty());

    files.files["TROVIK.HEX"] = testing::SampleTemplateText();
    outcome = RunProgramming(settings, files, "TROVIK.HEX", "COM1", none, ports.Clock(), observer);
    EXPECT_EQ(outcome.status, ProgrammingStatus::PortError);
    EXPECT_EQ(outcome.message, "The port COM1 does not exist.");
    EXPECT_EQ(ports.Clock().Sleeps(), 0u);
    EXPECT_TRUE(observer.progress.empty());
}

TEST_F(ProgrammingRunTest, ComPortIndexChoosesCom1ToCom8AndNothingOutside) {
    struct Case {
        int index;
        const char* asked;  // nullptr: no port is asked for
    };
    for (const Case& c : {Case{0, "COM1"}, Case{7, "COM8"}, Case{-1, nullptr}, Case{8, nullptr}}) {
        NoPorts none;
        settings.comPortIndex = c.index;
        const ProgrammingOutcome outcome = RunProgramming(settings, files, "TROVIK.HEX", none, ports.Clock(), observer);
        EXPECT_EQ(outcome.status, ProgrammingStatus::PortError);
        EXPECT_EQ(none.asked, c.asked ? std::vector<std::string>{c.asked} : std::vector<std::string>{}) << c.index;
        if (!c.asked) {
            EXPECT_NE(outcome.message.find("0 to 7"), std::string::npos) << outcome.message;
        }
    }
}

TEST_F(ProgrammingRunTest, AFailedPortOperationStopsTheRunWithTheLinesSafe) {
    long total = 0;  // operations of a whole run on a blank chip
    {
        SimPortFactory fresh{files};
        FailingPorts counting(fresh, -1);
        ASSERT_EQ(RunProgramming(settings, files, "TROVIK.HEX", "sim", counting, fresh.Clock(), observer).status,
                  ProgrammingStatus::Programmed);
        total = counting.operations;
    }
    // Program mode takes operations 0 to 2; the first read starts at 3 with
    // a 19-operation command and the start clock, then SETRTS, CTS, CLRRTS
    // per data clock. The run ends with the configuration word's Begin
    // Programming (19 operations) and BREAK OFF.
    struct Case {
        long failAt;
        const char* where;
        bool configurationWritten;
    };
    const Case cases[] = {
        {2, "while entering program mode: the port could not switch the break on", false},
        {3 + 19 + 2 + 1, "at word 0 (address 0x0000): the port could not read CTS", false},
        {total - 1 - 10, "while programming the configuration word: the port could not", false},
        {total - 1, "while leaving program mode: the port could not switch the break off", true},
    };
    for (const Case& c : cases) {
        SimPortFactory fresh{files};
        FailingPorts failing(fresh, c.failAt);
        const ProgrammingOutcome outcome =
            RunProgramming(settings, files, "TROVIK.HEX", "sim", failing, fresh.Clock(), observer);
        chip = fresh.Chip("sim");
        EXPECT_EQ(outcome.status, ProgrammingStatus::PortError) << c.where;
        EXPECT_NE(outcome.message.find(std::string("Programming on sim stopped ") + c.where), std::string::npos)
            << outcome.message;
        EXPECT_NE(outcome.message.find("Input/output error"), std::string::npos);
        EXPECT_EQ(chip->ConfigurationWord() == 0x3FF2, c.configurationWritten) << c.where;
        ExpectLinesSafe();
    }
}

TEST_F(ProgrammingRunTest, AnExceptionLeavesTheLinesSafeAndGoesOn) {
    observer.throwAfter = 5;
    EXPECT_THROW(Run("sim"), std::runtime_error);
    chip = ports.Chip("sim");
    ExpectLinesSafe();
    EXPECT_EQ(chip->ConfigurationWord(), 0x3FFF);
}

TEST_F(ProgrammingRunTest, AStopRequestEndsTheRunAfterTheCurrentWord) {
    observer.stopAfter = 3;
    const ProgrammingOutcome outcome = Run("sim");
    EXPECT_EQ(outcome.status, ProgrammingStatus::Interrupted);
    EXPECT_EQ(outcome.wordsVerified, 3u);
    EXPECT_NE(outcome.message.find("after 3 of 1024 words"), std::string::npos) << outcome.message;
    EXPECT_EQ(chip->ConfigurationWord(), 0x3FFF);
    EXPECT_EQ(chip->ProgramWord(3), 0x3FFF);
    ExpectLinesSafe();
}

TEST(WordTable, RecordsGiveWordsLowByteFirstInFileOrder) {
    TemplateImage image = testing::SampleTemplate();
    const WordTable before = BuildWordTable(image);
    // Record 0 and record 127 fill the ends of the table.
    EXPECT_EQ(before[0], 0x28B8);     // ":10000000B828..."
    EXPECT_EQ(before[7], 0x0000);
    std::copy_n("8312", 4, image.text.begin() + 45 + 9);  // word 0 of record 1
    std::copy_n("aBcD", 4, image.text.begin() + 127 * 45 + 9 + 28);
    const WordTable after = BuildWordTable(image);
    EXPECT_EQ(after[8], 0x1283);
    EXPECT_EQ(after[1023], 0xCDAB);
    for (std::size_t i = 0; i < after.size(); ++i)
        if (i != 8 && i != 1023) {
            ASSERT_EQ(after[i], before[i]) << i;
        }
}

}  // namespace
}  // namespace trovik
