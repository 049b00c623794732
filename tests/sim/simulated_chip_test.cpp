#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "image/hex_export.h"
#include "image/sample_template.h"
#include "programmer/programming_link.h"
#include "programmer/programming_run.h"
#include "programmer/word_table.h"
#include "sim/line_trace.h"
#include "sim/sim_ports.h"

namespace trovik {
namespace {

using testing::MemoryFiles;

struct Bench {
    std::shared_ptr<SimulatedChip> chip = std::make_shared<SimulatedChip>();
    VirtualClock clock;
    SimulatedPort port{chip, &clock};
    ProgrammingLink link{port, clock};
};

TEST(SimulatedChip, BeginProgrammingNeedsTenMillisecondsBeforeTheNextCommand) {
    for (int waitMs : {0, 9, 10}) {
        Bench b;
        b.link.EnterProgrammingMode();
        b.link.SendCommand(ChipCommand::LoadData);
        b.link.ShortDelay();
        b.link.SendDataFrame(0x1234);
        b.link.SendCommand(ChipCommand::BeginProgramming);
        b.clock.SleepMs(waitMs);
        b.link.IncrementAddress();
        const bool written = waitMs >= 10;
        EXPECT_EQ(b.chip->ProgramWord(0), written ? 0x1234 : 0x3FFF) << waitMs;
        EXPECT_EQ(b.chip->WritesLost(), written ? 0u : 1u);
        EXPECT_EQ(b.link.ReadWord(), 0x3FFF);  // now at address 1
    }
}

TEST(SimulatedChip, NothingAnswersOutsideProgramMode) {
    {
        Bench b;  // no break at all
        b.chip->SetProgramWord(0, 0x0ABC);
        b.link.ProgramWord(0x1234);
        EXPECT_EQ(b.link.ReadWord(), 0x0000);
        EXPECT_EQ(b.chip->ProgramWord(0), 0x0ABC);
    }
    {
        Bench b;  // break while the clock is high
        b.port.SetLine(ModemLine::Rts, true);
        b.port.SetBreak(true);
        b.port.SetLine(ModemLine::Rts, false);
        EXPECT_FALSE(b.chip->InProgramMode());
        EXPECT_EQ(b.link.ReadWord(), 0x0000);
    }
    {
        Bench b;  // program mode left: the address starts over at 0 next time
        b.chip->SetProgramWord(0, 0x0ABC);
        b.link.EnterProgrammingMode();
        b.link.IncrementAddress();
        b.link.LeaveProgrammingMode();
        b.link.EnterProgrammingMode();
        EXPECT_EQ(b.link.ReadWord(), 0x0ABC);
    }
}

TEST(SimulatedChip, LoadConfigurationReachesTheDeviceIdAndTheConfigurationWord) {
    Bench b;
    b.link.EnterProgrammingMode();
    b.link.LoadConfiguration(0x3FFF);
    EXPECT_EQ(b.chip->Address(), 0x2000);
    for (int i = 0; i < 6; ++i) b.link.IncrementAddress();
    EXPECT_EQ(b.link.ReadWord(), SimulatedChip::kDeviceId);
    b.link.IncrementAddress();
    EXPECT_EQ(b.link.ReadWord(), 0x3FFF);
    b.link.LeaveProgrammingMode();

    b.link.EnterProgrammingMode();
    b.link.ProgramConfigurationWord(0x3FF2);
    b.link.LeaveProgrammingMode();
    EXPECT_EQ(b.chip->ConfigurationWord(), 0x3FF2);
    EXPECT_EQ(b.chip->Read(SimulatedChip::kDeviceIdAddress), 0x0560);
    EXPECT_EQ(b.chip->ProgramWord(0), 0x3FFF);
}

TEST(SimPortNames, OptionsCombineWithCommas) {
    auto parsed = ParseSimPortName("sim:image=OUTPUT.HEX,fail-at=40,absent,realtime");
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->imageFile, "OUTPUT.HEX");
    EXPECT_EQ(parsed.options->chip.failAt, 40u);
    EXPECT_TRUE(parsed.options->chip.absent);
    EXPECT_TRUE(parsed.options->realtime);

    parsed = ParseSimPortName("sim");
    ASSERT_TRUE(parsed.options);
    EXPECT_FALSE(parsed.options->chip.failAt || parsed.options->chip.absent || parsed.options->realtime);

    struct Bad {
        const char* name;
        const char* says;
    };
    for (const Bad& bad : {Bad{"sim:", "empty option"}, Bad{"sim:absent,", "empty option"},
                           Bad{"sim:fast", "unknown option 'fast'"}, Bad{"sim:fail-at=", "bad word number"},
                           Bad{"sim:fail-at=1024", "bad word number"}, Bad{"sim:fail-at=4x", "bad word number"},
                           Bad{"sim:image=", "unknown option"}}) {
        parsed = ParseSimPortName(bad.name);
        EXPECT_FALSE(parsed.options) << bad.name;
        EXPECT_NE(parsed.error.find(bad.says), std::string::npos) << parsed.error;
        EXPECT_NE(parsed.error.find("absent, fail-at=N"), std::string::npos) << parsed.error;
    }
    EXPECT_FALSE(IsSimPortName("simulator"));
    EXPECT_FALSE(IsSimPortName("COM1"));
}

class FixedPort : public PortFactory {
public:
    std::string asked;
    PortOpenResult Open(const std::string& name) override {
        asked = name;
        return {nullptr, "no " + name, {}};
    }
};

TEST(SimPortFactory, ImagesNamesAndSleepers) {
    MemoryFiles files;
    TrackerSettings settings;
    files.files["TROVIK.HEX"] = testing::SampleTemplateText();
    const TemplateImage image = *BuildImageFromTemplate(files, settings).image;
    files.files["OUTPUT.HEX"] = std::string(image.View());
    files.files["short.hex"] = files.files["OUTPUT.HEX"].substr(0, 100);
    FixedPort real;
    SimPortFactory ports(real, files);

    // The chip starts holding the image's words, and keeps what runs write.
    PortOpenResult opened = ports.Open("sim:image=OUTPUT.HEX");
    ASSERT_TRUE(opened.port) << opened.error;
    EXPECT_EQ(opened.settings, "9600 baud, 8 data bits, no parity, 1 stop bit (simulated)");
    auto chip = ports.Chip("sim:image=OUTPUT.HEX");
    const WordTable words = BuildWordTable(image);
    for (std::size_t i = 0; i < words.size(); ++i) ASSERT_EQ(chip->ProgramWord(i), words[i]);
    EXPECT_EQ(chip->ConfigurationWord(), 0x3FF2);
    chip->SetProgramWord(5, 0);
    opened.port.reset();
    EXPECT_TRUE(chip->PortWasClosed());
    opened = ports.Open("sim:image=OUTPUT.HEX");
    EXPECT_EQ(ports.Chip("sim:image=OUTPUT.HEX"), chip);
    EXPECT_EQ(chip->ProgramWord(5), 0);

    for (const char* bad : {"sim:image=missing.hex", "sim:image=short.hex", "sim:nonsense"}) {
        opened = ports.Open(bad);
        EXPECT_FALSE(opened.port) << bad;
        EXPECT_FALSE(opened.error.empty());
        EXPECT_FALSE(ports.Chip(bad));
    }
    EXPECT_NE(ports.Open("sim:image=missing.hex").error.find("missing.hex"), std::string::npos);

    // Other names go to the real ports; only real time suits them.
    EXPECT_EQ(ports.Open("COM3").error, "no COM3");
    EXPECT_EQ(real.asked, "COM3");
    VirtualClock realSleeper;
    EXPECT_EQ(&ports.SleeperFor("sim:absent", realSleeper), &ports.Clock());
    EXPECT_EQ(&ports.SleeperFor("sim:absent,realtime", realSleeper), &realSleeper);
    EXPECT_EQ(&ports.SleeperFor("COM1", realSleeper), &realSleeper);
    SimPortFactory simOnly(files);
    EXPECT_FALSE(simOnly.Open("/dev/ttyUSB0").port);
}

TEST(LineTrace, ARunsTraceReplaysIntoAFreshChipAndATamperedOneDoesNot) {
    MemoryFiles files;
    files.files["TROVIK.HEX"] = testing::SampleTemplateText();
    SimPortFactory ports(files);
    std::ostringstream text;
    LineTrace trace(text);
    TracingPortFactory tracingPorts(ports, trace);
    TracingSleeper tracingSleeper(ports.Clock(), trace);
    struct Quiet : ProgrammingObserver {
        void OnProgress(std::size_t, std::size_t) override {}
        void OnVerifyFailed(const ProgrammingOutcome&) override {}
    } observer;
    ASSERT_EQ(RunProgramming(TrackerSettings{}, files, "TROVIK.HEX", "sim", tracingPorts, tracingSleeper, observer)
                  .status,
              ProgrammingStatus::Programmed);
    const std::string recorded = text.str();
    EXPECT_EQ(recorded.substr(0, recorded.find("CLRDTR")),
              "OPEN sim\nSETTINGS 9600 baud, 8 data bits, no parity, 1 stop bit (simulated)\n");
    EXPECT_TRUE(recorded.ends_with("SLEEP 10\nBREAK OFF\nCLOSE\n"));

    SimulatedChip replayed;
    const ReplayResult result = ReplayLineTrace(recorded, replayed);
    EXPECT_TRUE(result.ok) << result.error;
    for (std::size_t i = 0; i < SimulatedChip::kProgramWords; ++i)
        ASSERT_EQ(replayed.ProgramWord(i), ports.Chip("sim")->ProgramWord(i)) << i;
    EXPECT_EQ(replayed.ConfigurationWord(), 0x3FF2);

    std::string tampered = recorded;
    tampered.replace(tampered.find("CTS 1"), 5, "CTS 0");
    SimulatedChip other;
    EXPECT_FALSE(ReplayLineTrace(tampered, other).ok);
    SimulatedChip third;
    EXPECT_NE(ReplayLineTrace("BREAK ON\nWIGGLE\n", third).error.find("line 2 (WIGGLE)"), std::string::npos);
}

}  // namespace
}  // namespace trovik
