#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "programmer/programming_link.h"
#include "sim/line_trace.h"
#include "sim/virtual_clock.h"

namespace trovik {
namespace {

// A port that answers status reads from a script and can fail one
// operation; a trace around it records what the link does.
class ScriptedPort : public SerialPort {
public:
    std::function<bool(int)> cts;  // level at the n-th status read
    int failAt = -1;               // this operation (counted from 0) fails

    bool SetLine(ModemLine, bool) override { return Next(); }
    bool ReadCts(bool& raised) override {
        if (!Next()) return false;
        raised = cts && cts(reads_);
        ++reads_;
        return true;
    }
    bool SetBreak(bool) override { return Next(); }
    std::string LastError() const override { return "Input/output error"; }

private:
    bool Next() { return operations_++ != failAt; }
    int operations_ = 0;
    int reads_ = 0;
};

struct RecordedLink {
    std::ostringstream text;
    LineTrace trace{text};
    VirtualClock clock;
    TracingSleeper sleeper{clock, trace};
    ScriptedPort* scripted = new ScriptedPort;
    TracingPort port{std::unique_ptr<SerialPort>(scripted), trace};
    ProgrammingLink link{port, sleeper};

    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        std::istringstream in(text.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        text.str("");
        return lines;
    }
};

using Lines = std::vector<std::string>;

Lines& operator+=(Lines& a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What one clocked bit looks like on the lines: data set up, a clock pulse
// of one pause high and one low, data back low after a 1.
Lines Bits(const std::string& bits) {
    Lines lines;
    for (char bit : bits) {
        if (bit == ' ') continue;
        if (bit == '1')
            lines += {"SETDTR", "SETRTS", "DELAY", "CLRRTS", "DELAY", "CLRDTR"};
        else
            lines += {"CLRDTR", "SETRTS", "DELAY", "CLRRTS", "DELAY"};
    }
    return lines;
}

TEST(ProgrammingLink, ProgramWordSendsLoadDataFrameAndBeginProgramming) {
    struct Case {
        std::uint16_t word;
        const char* frame;  // start bit, bits 0 to 13, stop bit
    };
    const Case cases[] = {
        {0x3FFF, "0 11111111111111 0"},
        {0xFFFF, "0 11111111111111 0"},  // bits 14 and 15 never go out
        {0x4000, "0 00000000000000 0"},
        {0x1283, "0 11000001010010 0"},
    };
    for (const Case& c : cases) {
        RecordedLink r;
        r.link.ProgramWord(c.word);
        Lines expected = Bits("010000");
        expected.push_back("DELAY");
        expected += Bits(c.frame);
        expected += Bits("000100");
        expected.push_back("SLEEP 10");
        EXPECT_EQ(r.Lines(), expected) << std::hex << c.word;
    }
}

TEST(ProgrammingLink, OneBitAsTheLinesShowIt) {
    RecordedLink r;
    r.link.SendBit(true);
    r.link.SendBit(false);
    EXPECT_EQ(r.Lines(), (Lines{"SETDTR", "SETRTS", "DELAY", "CLRRTS", "DELAY", "CLRDTR",  //
                                "CLRDTR", "SETRTS", "DELAY", "CLRRTS", "DELAY"}));
}

TEST(ProgrammingLink, ReadWordAssemblesCtsLeastSignificantBitFirst) {
    struct Case {
        const char* name;
        std::function<bool(int)> cts;
        std::uint16_t word;
    };
    const Case cases[] = {
        {"always raised", [](int) { return true; }, 0x3FFF},
        {"always low", [](int) { return false; }, 0x0000},
        {"first data clock only", [](int n) { return n == 0; }, 0x0001},
        {"last data clock only", [](int n) { return n == 13; }, 0x2000},
        {"alternating", [](int n) { return n % 2 == 1; }, 0x2AAA},
    };
    for (const Case& c : cases) {
        RecordedLink r;
        r.scripted->cts = c.cts;
        EXPECT_EQ(r.link.ReadWord(), c.word) << c.name;

        Lines expected = Bits("001000");
        expected += {"DELAY", "SETRTS", "CLRRTS"};  // start clock: no pause, no sample
        for (int i = 0; i < 14; ++i)
            expected += {"SETRTS", "DELAY", c.cts(i) ? "CTS 1" : "CTS 0", "CLRRTS", "DELAY"};
        expected += {"SETRTS", "CLRRTS"};  // stop clock
        EXPECT_EQ(r.Lines(), expected) << c.name;
    }
}

TEST(ProgrammingLink, ConfigurationWordGoesToTheSeventhAddressAfterLoadConfiguration) {
    RecordedLink r;
    r.link.ProgramConfigurationWord(0x3FF2);
    Lines expected = Bits("000000");
    expected.push_back("DELAY");
    expected += Bits("0 01001111111111 0");
    for (int i = 0; i < 7; ++i) expected += Bits("011000");
    expected += Bits("000100");
    expected.push_back("SLEEP 10");
    EXPECT_EQ(r.Lines(), expected);
}

TEST(ProgrammingLink, EnteringAndLeavingProgramMode) {
    RecordedLink r;
    r.link.EnterProgrammingMode();
    EXPECT_EQ(r.Lines(), (Lines{"CLRDTR", "CLRRTS", "SLEEP 1", "BREAK ON", "SLEEP 1000"}));
    r.link.IncrementAddress();
    EXPECT_EQ(r.Lines(), Bits("011000"));
    r.link.LeaveProgrammingMode();
    EXPECT_EQ(r.Lines(), Lines{"BREAK OFF"});
    r.link.MakeSafe();  // everything is known to be safe already
    EXPECT_EQ(r.Lines(), Lines{});
}

TEST(ProgrammingLink, AFailedOperationStopsTheLinkAndMakeSafeStillReleasesTheLines) {
    struct Case {
        int failAt;
        Lines after;  // the lines from the failure on, MakeSafe included
        const char* failure;
    };
    const Case cases[] = {
        // CLRDTR CLRRTS (sleep) BREAK-ON: the break may be on after its own failure.
        {2, {"BREAK ON", "# failed: Input/output error", "BREAK OFF"}, "switch the break on"},
        // The clock's rise in the read command's first bit.
        {4, {"SETRTS", "# failed: Input/output error", "BREAK OFF", "CLRRTS"}, "raise RTS"},
        // A failed lowering leaves the line as unknown as a raised one.
        {0, {"CLRDTR", "# failed: Input/output error", "CLRDTR", "CLRRTS"}, "lower DTR"},
    };
    for (const Case& c : cases) {
        RecordedLink r;
        r.scripted->failAt = c.failAt;
        r.link.EnterProgrammingMode();
        r.link.ReadWord();
        r.link.ProgramWord(0x1234);
        EXPECT_TRUE(r.link.Failed());
        EXPECT_EQ(r.link.Failure(), std::string("the port could not ") + c.failure + ": Input/output error");
        r.link.MakeSafe();
        Lines lines = r.Lines();
        ASSERT_GE(lines.size(), c.after.size());
        EXPECT_EQ(Lines(lines.end() - static_cast<long>(c.after.size()), lines.end()), c.after) << c.failAt;
        // No sleep after the failure: a broken port does not cost a second.
        EXPECT_EQ(r.clock.SleptMs(), c.failAt > 2 ? 1001 : c.failAt == 2 ? 1 : 0);
    }
}

}  // namespace
}  // namespace trovik
