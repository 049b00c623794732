#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <gtest/gtest.h>

#include "cli/ports_command.h"
#include "cli/read_command.h"
#include "cli/verify_command.h"
#include "cli_runner.h"
#include "image/image_words.h"
#include "platform/file_access.h"
#include "programmer/chip_probe.h"
#include "programmer/programming_run.h"
#include "sim/sim_ports.h"

namespace trovik {
namespace {

using testing::CliFolder;

ProgramWords WordsOf(const std::string& imageText) {
    return ImageProgramWords(*TemplateImageFromText(imageText, "image").image);
}

// Runs a command in-process, as RunCli would.
struct InProcess {
    int exitCode;
    std::string out;
    std::string err;
};
InProcess RunCommand(cli::Command& command, std::vector<std::string> args) {
    CLI::App app;
    command.Register(app);
    std::reverse(args.begin(), args.end());
    app.parse(args);
    std::ostringstream out;
    std::ostringstream err;
    SystemFileAccess files;
    cli::CliContext context{out, err, files, false};
    const int code = command.Run(context);
    return {code, out.str(), err.str()};
}

TEST(ReadCli, GivesBackTheWordsOfTheSimulatedChipAsAValidImage) {
    CliFolder f;
    f.CopySampleTemplate();
    ASSERT_EQ(f.Run({"export", "--set", "configuration1.callsign=N0CALL"}).exitCode, 0);
    const auto r = f.Run({"read", "--port", "sim:image=OUTPUT.HEX", "--output", "back.hex"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "Read 1024 words and the configuration word 0x3ff2 (device ID 0x0560) from sim:image=OUTPUT.HEX; "
              "image saved as back.hex.\n");
    const std::string back = f.Read("back.hex");
    ASSERT_EQ(back.size(), kTemplateImageSize);
    EXPECT_EQ(FindTemplateProblem(back), std::nullopt);
    EXPECT_EQ(WordsOf(back), WordsOf(f.Read("OUTPUT.HEX")));
    EXPECT_EQ(f.Shell("objcopy -I ihex -O binary back.hex back.bin"), 0);
    // A read-back decodes like the image it came from.
    auto decoded = [&](const std::string& image) {
        const std::string out = f.Run({"decode", image}).out;
        return out.substr(out.find('\n'));  // past the line that names the file
    };
    EXPECT_EQ(decoded("back.hex"), decoded("OUTPUT.HEX"));
    // A chip holding the sample template reads back as that very file, and
    // one holding what export wrote verifies.
    ASSERT_EQ(f.Run({"read", "--port", "sim:image=TROVIK.HEX", "--output", "sample.hex"}).exitCode, 0);
    EXPECT_EQ(f.Read("sample.hex"), f.Read("TROVIK.HEX"));
    const auto v = f.Run({"verify", "--set", "configuration1.callsign=N0CALL", "--port", "sim:image=OUTPUT.HEX"});
    EXPECT_EQ(v.exitCode, 0) << v.out << v.err;
}

TEST(ReadCli, NoChipSavesNothing) {
    CliFolder f;
    f.Write("READ.HEX", "an earlier backup");
    const auto r = f.Run({"read", "--port", "sim:absent", "--trace", "t.txt"});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("every bit read 0"), std::string::npos) << r.err;
    EXPECT_EQ(f.Read("READ.HEX"), "an earlier backup");
    EXPECT_TRUE(f.Read("t.txt").ends_with("BREAK OFF\nCLOSE\n"));
    EXPECT_EQ(f.Run({"read"}).exitCode, 2);  // --port is required
}

TEST(ReadCli, InterruptedReadLeavesProgramModeAndSavesNothing) {
    CliFolder f;
    std::size_t polls = 0;
    cli::ReadCommand command([&] { return ++polls > 100; });
    const auto r = RunCommand(command, {"read", "--port", "sim", "--output", f.Path("r.hex"), "--trace", f.Path("t.txt")});
    EXPECT_EQ(r.exitCode, cli::kExitInterrupted);
    EXPECT_NE(r.err.find("interrupted after 99 of 1024 words"), std::string::npos) << r.err;
    EXPECT_FALSE(f.Exists("r.hex"));
    EXPECT_TRUE(f.Read("t.txt").ends_with("BREAK OFF\nCLOSE\n"));
}

class VerifyCli : public ::testing::Test {
protected:
    // A simulated chip programmed with the defaults on the sample template.
    void SetUp() override {
        f_.CopySampleTemplate();
        class Quiet : public ProgrammingObserver {
            void OnProgress(std::size_t, std::size_t) override {}
            void OnVerifyFailed(const ProgrammingOutcome&) override {}
        } quiet;
        const auto outcome =
            RunProgramming(TrackerSettings(), files_, f_.Path("TROVIK.HEX"), "sim", sim_, sim_.Clock(), quiet);
        ASSERT_EQ(outcome.status, ProgrammingStatus::Programmed) << outcome.message;
    }
    InProcess Verify(std::vector<std::string> extra, const std::string& port = "sim") {
        cli::VerifyCommand command({}, {&sim_, &sim_.Clock()});
        std::vector<std::string> args{"verify", "--port", port, "--template", f_.Path("TROVIK.HEX")};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCommand(command, args);
    }

    CliFolder f_;
    SystemFileAccess files_;
    SimPortFactory sim_{files_};
};

TEST_F(VerifyCli, MatchingChip) {
    const std::size_t written = sim_.Chip("sim")->WordsWritten();
    const auto r = Verify({});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "The chip on sim holds the image: all 1024 words and the configuration word match.\n");
    EXPECT_EQ(sim_.Chip("sim")->WordsWritten(), written);
    EXPECT_EQ(sim_.Chip("sim")->ConfigurationWrites(), 1u);
}

TEST_F(VerifyCli, FindsASingleChangedWordAndNamesItsSetting) {
    const auto r = Verify({"--set", "configuration1.ssid=3"});
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_EQ(r.out,
              "The chip on sim does not hold the image: 1 word differs.\n"
              "  word 15 (0x000f): expected 0x3466, read 0x3460  configuration1.ssid\n"
              "Settings that differ: configuration1.ssid\n");
}

TEST_F(VerifyCli, BlankChipListsTheFirstWordsAndEverySetting) {
    const auto r = Verify({}, "sim:absent");
    EXPECT_EQ(r.exitCode, 4);
    // Words 1 to 3 and 6 to 8 of the sample template are 0 and match.
    EXPECT_NE(r.out.find("1018 words differ and the configuration word differs"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n  ... and 979 more\n"), std::string::npos);
    EXPECT_NE(r.out.find("configuration2.beaconText"), std::string::npos);
    EXPECT_NE(r.out.find("Every bit read 0: no chip answered."), std::string::npos);
}

TEST(ProbeCli, SimulatedChipAndNoChip) {
    CliFolder f;
    auto r = f.Run({"probe", "--port", "sim"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("A chip answers: device ID 0x0560"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("A full programming run on this port takes about 0:12"), std::string::npos) << r.out;
    r = f.Run({"probe", "--port", "sim:absent", "--trace", "t.txt"});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.out.find("No chip answers: every bit read 0."), std::string::npos) << r.out;
    const std::string trace = f.Read("t.txt");
    EXPECT_EQ(trace.find("BREAK ON"), trace.rfind("BREAK ON"));  // program mode entered once
    EXPECT_TRUE(trace.ends_with("BREAK OFF\nCLOSE\n"));
    r = f.Run({"probe", "--port", "sim:bogus"});
    EXPECT_EQ(r.exitCode, 3);
}

// A port whose CTS reads 1 throughout, or whose RTS cannot be raised.
class StuckPort : public SerialPort {
public:
    bool rtsFails = false;
    bool breakOn = false;
    bool SetLine(ModemLine line, bool) override { return !(rtsFails && line == ModemLine::Rts); }
    bool ReadCts(bool& raised) override {
        raised = true;
        return true;
    }
    bool SetBreak(bool on) override {
        breakOn = on;
        return true;
    }
    std::string LastError() const override { return "Input/output error"; }
};

TEST(ProbeChip, TellsALineStuckHighFromAPortThatFails) {
    class NoSleep : public Sleeper {
        void SleepMs(int) override {}
        void ShortDelay() override {}
    } noSleep;
    StuckPort high;
    ProbeOutcome outcome = ProbeChip(high, noSleep, {});
    EXPECT_EQ(outcome.status, ProbeStatus::LineHigh);
    EXPECT_EQ(outcome.deviceId, 0x3FFF);
    EXPECT_FALSE(high.breakOn);

    StuckPort failing;
    failing.rtsFails = true;
    outcome = ProbeChip(failing, noSleep, {});
    EXPECT_EQ(outcome.status, ProbeStatus::PortFailed);
    EXPECT_NE(outcome.message.find("cannot raise RTS: Input/output error"), std::string::npos) << outcome.message;
    EXPECT_FALSE(failing.breakOn);
}

TEST(ProbeChip, EstimateCountsSleepsAtLeastAtTheirNominalLength) {
    OperationCounts counts;
    counts.lineChanges = 1000;
    counts.ctsReads = 100;
    counts.sleptMs = 50;
    PortTimings timings;
    timings.lineChange = std::chrono::microseconds(10);
    timings.ctsRead = std::chrono::microseconds(20);
    EXPECT_EQ(EstimateDuration(counts, timings), std::chrono::milliseconds(10 + 2 + 50));
    timings.sleepOneMs = std::chrono::microseconds(1500);
    EXPECT_EQ(EstimateDuration(counts, timings), std::chrono::milliseconds(10 + 2 + 75));
}

TEST(PortsCli, ListsFromTheSystemsTreeWithoutOpeningPorts) {
    namespace fs = std::filesystem;
    CliFolder f;
    const fs::path root = f.Path("root");
    auto file = [&](const fs::path& p, const std::string& text) {
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text << "\n";
    };
    const fs::path devices = root / "sys/devices";
    const fs::path tty = root / "sys/class/tty";
    fs::create_directories(tty / "tty0");  // a virtual console: no device
    file(devices / "platform/serial8250/ttyS0/x", "");
    file(devices / "platform/serial8250/ttyS1/x", "");
    file(devices / "usb1/1-2/idVendor", "0403");
    file(devices / "usb1/1-2/idProduct", "6001");
    file(devices / "usb1/1-2/manufacturer", "FTDI");
    file(devices / "usb1/1-2/product", "FT232R USB UART");
    file(devices / "usb1/1-2/serial", "A50285BI");
    fs::create_directories(devices / "usb1/1-2/1-2:1.0/ttyUSB0");
    for (const char* name : {"ttyS0", "ttyS1", "ttyUSB0"}) fs::create_directories(tty / name);
    fs::create_directory_symlink(devices / "platform/serial8250/ttyS0", tty / "ttyS0/device");
    fs::create_directory_symlink(devices / "platform/serial8250/ttyS1", tty / "ttyS1/device");
    fs::create_directory_symlink(devices / "usb1/1-2/1-2:1.0/ttyUSB0", tty / "ttyUSB0/device");
    file(tty / "ttyS0/type", "4");
    file(tty / "ttyS1/type", "0");  // no UART behind it
    fs::create_directories(root / "dev/serial/by-id");
    fs::create_symlink("../../ttyUSB0", root / "dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

    cli::PortsCommand command;
    command.sysClassTty = tty.string();
    command.devDir = (root / "dev").string();
    const auto r = RunCommand(command, {"ports"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string dev = (root / "dev").string();
    EXPECT_EQ(r.out, dev + "/ttyS0    COM1  built-in serial port, 16550A UART\n" + dev +
                         "/ttyUSB0  -     USB serial adapter: FTDI FT232R USB UART (0403:6001), serial number A50285BI\n" +
                         std::string(dev.size() + 16, ' ') + dev +
                         "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\n");

    command.sysClassTty = (root / "missing").string();
    EXPECT_EQ(RunCommand(command, {"ports"}).exitCode, 3);
}

}  // namespace
}  // namespace trovik
