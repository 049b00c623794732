#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <pty.h>

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include "cli/program_command.h"
#include "cli_runner.h"
#include "image/template_image.h"
#include "platform/file_access.h"
#include "programmer/word_table.h"
#include "sim/line_trace.h"

namespace trovik {
namespace {

using testing::CliFolder;

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(ProgramCli, ProgramsASimulatedChipAndTracesEveryLineOperation) {
    CliFolder f;
    f.CopySampleTemplate();
    auto r = f.Run({"program", "--port", "sim", "--trace", "run.txt"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Pic Programmed Successfully\n");
    EXPECT_EQ(r.err, "");  // no progress when stderr is not a terminal

    const std::string trace = f.Read("run.txt");
    EXPECT_TRUE(trace.starts_with("# "));
    EXPECT_NE(trace.find("\nOPEN sim\nSETTINGS 9600 baud, 8 data bits, no parity, 1 stop bit (simulated)\n"
                         "CLRDTR\nCLRRTS\nSLEEP 1\nBREAK ON\nSLEEP 1000\n"),
              std::string::npos);
    EXPECT_TRUE(trace.ends_with("SLEEP 10\nBREAK OFF\nCLOSE\n"));
    EXPECT_EQ(Count(trace, "SLEEP 1\n"), 1 + 1024u);

    // The trace, played into a blank chip, leaves it holding the exported image.
    ASSERT_EQ(f.Run({"export"}).exitCode, 0);
    const WordTable expected =
        BuildWordTable(*TemplateImageFromText(f.Read("OUTPUT.HEX"), "OUTPUT.HEX").image);
    SimulatedChip chip;
    const ReplayResult replay = ReplayLineTrace(trace, chip);
    ASSERT_TRUE(replay.ok) << replay.error;
    for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(chip.ProgramWord(i), expected[i]) << i;
    EXPECT_EQ(chip.ConfigurationWord(), 0x3FF2);
    const std::size_t programmed = static_cast<std::size_t>(
        std::count_if(expected.begin(), expected.end(), [](auto w) { return w != 0x3FFF; }));
    EXPECT_EQ(Count(trace, "SLEEP 10\n"), programmed + 1);

    // A chip that already holds the image gets only its configuration word.
    r = f.Run({"program", "--port", "sim:image=OUTPUT.HEX", "--trace", "again.txt"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Count(f.Read("again.txt"), "SLEEP 10\n"), 1u);
}

TEST(ProgramCli, EachFaultEndsWithItsMessageAndExitCodeAndTheLinesSafe) {
    int master = -1;
    int slave = -1;
    char ptyName[128] = {};
    ASSERT_EQ(::openpty(&master, &slave, ptyName, nullptr, nullptr), 0);  // a port without modem lines

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;   // the whole of stdout
        std::string says;  // part of stderr
    };
    const std::string sampleWord40 = "Verify Failed\nword 40 (address 0x0028): expected 0x";
    const Case cases[] = {
        {{"--port", "sim:fail-at=40"}, 4, "", ""},
        {{"--port", "sim:absent"}, 4, "Verify Failed\nword 0 (address 0x0000): expected 0x28b8, read 0x0000\n", ""},
        {{"--port", "/nonexistent/ttyUSB9"}, 3, "", "The port /nonexistent/ttyUSB9 does not exist"},
        {{"--port", ptyName}, 3, "", "Programming on " + std::string(ptyName) +
                                          " stopped while entering program mode: the port could not lower DTR"},
        {{"--port", "sim:warp"}, 3, "", "unknown option 'warp'"},
        {{"--port", "sim", "--template", "missing.hex"}, 3, "", "missing.hex"},
        {{"--set", "comPortIndex=8"}, 2, "", "comPortIndex 8 selects no port"},  // opens nothing
        {{"--port"}, 2, "", "--port"},
    };
    for (const Case& c : cases) {
        CliFolder f;
        f.CopySampleTemplate();
        std::vector<std::string> args{"program", "--trace", "t.txt"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = f.Run(args);
        const std::string name = c.args.back();
        EXPECT_EQ(r.exitCode, c.exitCode) << name << ": " << r.err;
        if (c.exitCode == 4) {
            EXPECT_TRUE(r.out.starts_with(c.out.empty() ? sampleWord40 : c.out)) << r.out;
            EXPECT_TRUE(r.out.ends_with(", read 0x3fff\n") || !c.out.empty()) << r.out;
            EXPECT_EQ(r.err, "");
        } else {
            EXPECT_EQ(r.out, c.out) << name;
            EXPECT_NE(r.err.find(c.says), std::string::npos) << name << ": " << r.err;
        }
        EXPECT_EQ(Count(r.out + r.err, "Pic Programmed Successfully"), 0u);
        if (f.Exists("t.txt")) {
            const std::string trace = f.Read("t.txt");
            if (trace.find("\nCLOSE\n") != std::string::npos) {
                // The last line operations leave the break off and both lines low.
                const auto breakOn = trace.rfind("BREAK ON\n");
                EXPECT_TRUE(breakOn == std::string::npos || trace.rfind("BREAK OFF\n") > breakOn) << name;
                EXPECT_TRUE(trace.ends_with("CLOSE\n")) << name;
            }
        }
    }
    ::close(slave);
    ::close(master);
}

TEST(ProgramCli, InterruptedRunLeavesProgramModeAndTerminalProgressShows) {
    CliFolder f;
    f.CopySampleTemplate();
    const std::string templatePath = f.Path("TROVIK.HEX");
    const std::string tracePath = f.Path("t.txt");

    struct Case {
        std::size_t stopAfterPolls;
        int exitCode;
    };
    for (const Case& c : {Case{20, cli::kExitInterrupted}, Case{SIZE_MAX, cli::kExitOk}}) {
        std::size_t polls = 0;
        cli::ProgramCommand command([&] { return ++polls > c.stopAfterPolls; });
        CLI::App app;
        command.Register(app);
        std::vector<std::string> args{"program", "--port", "sim", "--template", templatePath, "--trace", tracePath};
        std::reverse(args.begin(), args.end());
        app.parse(args);

        std::ostringstream out;
        std::ostringstream err;
        SystemFileAccess files;
        cli::CliContext context{out, err, files, true};
        EXPECT_EQ(command.Run(context), c.exitCode) << err.str();
        const std::string trace = f.Read("t.txt");
        EXPECT_TRUE(trace.ends_with("BREAK OFF\nCLOSE\n"));
        if (c.exitCode == cli::kExitInterrupted) {
            EXPECT_EQ(out.str(), "");
            EXPECT_NE(err.str().find("interrupted after 19 of 1024 words"), std::string::npos) << err.str();
            EXPECT_EQ(Count(trace, "SLEEP 1\n"), 1 + 19u);
        } else {
            EXPECT_EQ(out.str(), "Pic Programmed Successfully\n");
            EXPECT_NE(err.str().find("\rword 1024 of 1024, "), std::string::npos) << err.str();
            EXPECT_TRUE(err.str().ends_with("programmed\x1b[K\n")) << err.str();
        }
    }
}

}  // namespace
}  // namespace trovik
