#include <string>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "cli/settings_file.h"
#include "cli_runner.h"

namespace trovik {
namespace {

using testing::CliFolder;

const std::string kGolden = TROVIK_TEST_DATA "/default_output.hex";

std::string Golden() {
    CliFolder f;
    return f.Read(kGolden);
}

TEST(ExportCli, DefaultsGiveTheGoldenImageThatObjcopyAndSrecCatAccept) {
    CliFolder f;
    f.CopySampleTemplate();
    const auto r = f.Run({"export"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Hex file saved as OUTPUT.HEX.\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(f.Read("OUTPUT.HEX"), Golden());
    EXPECT_EQ(f.Shell("objcopy -I ihex -O binary OUTPUT.HEX out.bin"), 0);
    EXPECT_EQ(f.Shell("srec_cat OUTPUT.HEX -intel -o /dev/null -binary"), 0);
    EXPECT_EQ(f.Shell("srec_cat TROVIK.HEX -intel -o /dev/null -binary"), 0);
}

TEST(ExportCli, SettingsFileAndOverrides) {
    CliFolder f;
    f.CopySampleTemplate("fw.hex");
    f.Write("s.toml",
            "autoTxDelayMs = \" 00670 \"\n"
            "[configuration1]\ncallsign = \"n0call\"\npath = \"wide1-1,wide2-12\"\nmessageCode = \"Emergency\"\n"
            "useAltIconTable = true\nbeaconText = \"caf\xC3\xA9 \xE2\x82\xAC\"\n"
            "[configuration2]\nssid = 9\n");
    auto r = f.Run({"export", "--settings", "s.toml", "--set", "configuration2.iconCode=4a", "--template",
                    "fw.hex", "--output", "my.hex"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Hex file saved as my.hex.\n");
    const std::string image = f.Read("my.hex");
    ASSERT_EQ(image.size(), 5801u);
    auto low = [&](std::size_t word) { return image.substr(45 * (word / 8) + 9 + 4 * (word % 8), 2); };
    EXPECT_EQ(low(9) + low(10), "9c60");    // N0
    EXPECT_EQ(low(22), "62");               // WIDE1-1
    EXPECT_EQ(low(29), "79");               // WIDE2-12, last: 0x78 + 1
    EXPECT_EQ(low(43), "72");               // SSID 9
    EXPECT_EQ(low(65), "63");               // 670 ms
    EXPECT_EQ(image.substr(463, 1), "0");   // Emergency
    EXPECT_EQ(low(78), "5C");
    EXPECT_EQ(low(79), "4a");
    EXPECT_EQ(low(83) + low(86) + low(87) + low(88), "63e9203f");  // "café ?"
    EXPECT_EQ(f.Shell("objcopy -I ihex -O binary my.hex out.bin"), 0);

    // Unchanged settings, unchanged bytes.
    r = f.Run({"export", "--settings", "s.toml", "--set", "configuration2.iconCode=4a", "--template",
               "fw.hex", "--output", "again.hex"});
    EXPECT_EQ(f.Read("again.hex"), image);
}

struct Rejection {
    std::vector<std::string> args;
    std::string toml;
    std::string error;
};

void PrintTo(const Rejection& r, std::ostream* os) { *os << r.error; }

class ExportRejectionTest : public ::testing::TestWithParam<Rejection> {};

TEST_P(ExportRejectionTest, ReportsAndLeavesTheOutputAlone) {
    CliFolder f;
    f.CopySampleTemplate();
    f.Write("OUTPUT.HEX", "earlier output");
    f.Write("s.toml", GetParam().toml);
    std::vector<std::string> args = {"export", "--settings", "s.toml"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const auto r = f.Run(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "trovik-cli: " + GetParam().error + "\n");
    EXPECT_EQ(f.Read("OUTPUT.HEX"), "earlier output");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportRejectionTest,
    ::testing::Values(
        Rejection{{"--set", "configuration2.ssid=16"}, "", "configuration2.ssid: Please enter an integer between 0 and 15."},
        Rejection{{"--set", "configuration1.ssid=300", "--set", "configuration2.ssid=x", "--set", "autoTxDelayMs=20"}, "",
                  "autoTxDelayMs: Please enter an integer between 35 and 1700."},
        Rejection{{}, "[configuration1]\nbeaconEvery = \"4x\"\n", "configuration1.beaconEvery: Please enter an integer."},
        Rejection{{}, "[configuration2]\nssid = -1\n", "configuration2.ssid: Please enter an integer between 0 and 255."},
        Rejection{{}, "[configuration1]\nquietTimeSecs = 99999999999\n",
                  "configuration1.quietTimeSecs: Please enter an integer between 0 and 255."},
        Rejection{{}, "[configuration1]\ncallsign = \"TOOLONG\"\n", "configuration1.callsign: Please enter no more than 6 characters."},
        Rejection{{}, "[configuration2]\niconCode = \"3\"\n",
                  "configuration2.iconCode: Please enter the icon number as two hexadecimal digits."},
        Rejection{{}, "[configuration1]\nfoo = 1\n", "s.toml: unknown key 'configuration1.foo'"},
        Rejection{{}, "callsign = \"X\"\n", "s.toml: unknown key 'callsign'"},
        Rejection{{}, "[extra]\n", "s.toml: unknown table [extra]"},
        Rejection{{}, "[configuration1]\nssid = 1.5\n",
                  "s.toml: configuration1.ssid: expected an integer or a string, not a floating-point number"},
        Rejection{{}, "[configuration1]\ncallsign = 5\n", "s.toml: configuration1.callsign: expected a string, not an integer"},
        Rejection{{}, "[configuration1]\nuseAltIconTable = 2\n", "s.toml: configuration1.useAltIconTable: expected true, false, 0 or 1"},
        Rejection{{}, "[configuration1]\nmessageCode = \"Lunch\"\n",
                  "s.toml: configuration1.messageCode: expected 0 to 7 or one of \"Off Duty\", \"En Route\", \"In Service\", "
                  "\"Returning\", \"Committed\", \"Special\", \"Priorty\", \"Emergency\""},
        Rejection{{}, "ssid = \n", "s.toml:1:8: Error while parsing key-value pair: expected value, saw '\\n'"},
        Rejection{{"--set", "nope=1"}, "", "--set: unknown key 'nope'"},
        Rejection{{"--set", "configuration1.ssid"}, "", "--set configuration1.ssid: expected KEY=VALUE"}));

TEST(ExportCli, TemplateAndOutputProblems) {
    CliFolder f;
    auto r = f.Run({"export"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "trovik-cli: The template TROVIK.HEX cannot be read: No such file or directory. Nothing was written.\n");
    EXPECT_FALSE(f.Exists("OUTPUT.HEX"));

    f.Write("TROVIK.HEX", f.Read(TROVIK_SOURCE_DIR "/examples/TROVIK.HEX").substr(0, 3000));
    r = f.Run({"export"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "trovik-cli: The template TROVIK.HEX is not usable: it holds 3000 bytes, but a template holds 5801. "
                     "Nothing was written.\n");

    f.CopySampleTemplate();
    f.Write("OUTPUT.HEX", "read-only output");
    ::chmod(f.Path("OUTPUT.HEX").c_str(), 0444);
    r = f.Run({"export"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "trovik-cli: The hex file OUTPUT.HEX could not be saved: the file is read-only (make it writable, "
                     "e.g. chmod u+w OUTPUT.HEX). Any earlier OUTPUT.HEX is unchanged.\n");
    EXPECT_EQ(f.Read("OUTPUT.HEX"), "read-only output");
    EXPECT_EQ(r.out, "");
}

TEST(ExportCli, DefaultsPrintsAFileThatExportTakesBack) {
    CliFolder f;
    f.CopySampleTemplate();
    const auto r = f.Run({"defaults"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("# Station callsign"), std::string::npos);
    f.Write("d.toml", r.out);
    EXPECT_EQ(f.Run({"export", "--settings", "d.toml"}).exitCode, 0);
    EXPECT_EQ(f.Read("OUTPUT.HEX"), Golden());
}

TEST(ExportCli, UsageErrorsExitWithTwo) {
    CliFolder f;
    EXPECT_EQ(f.Run({}).exitCode, 2);
    EXPECT_EQ(f.Run({"export", "--bogus"}).exitCode, 2);
    EXPECT_EQ(f.Run({"export", "--settings", "missing.toml"}).exitCode, 2);
    const auto help = f.Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos);
}

}  // namespace
}  // namespace trovik
