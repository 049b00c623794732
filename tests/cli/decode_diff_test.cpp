#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/settings_file.h"
#include "cli_runner.h"
#include "image/configuration_decode.h"
#include "image/image_words.h"
#include "image/sample_template.h"

namespace trovik {
namespace {

using testing::CliFolder;

// Settings of the class that must survive decode and export unchanged:
// callsigns and path names of A-Z and 0-9, SSIDs 0 to 15, printable ASCII
// beacon texts, every number in its accepted range.
class RandomSettings {
public:
    explicit RandomSettings(unsigned seed) : random_(seed) {}

    TrackerSettings Next() {
        TrackerSettings s;
        for (auto& p : s.profiles) {
            p.callsign = Name(0, 6);
            p.ssid = static_cast<std::uint8_t>(Pick(0, 15));
            p.path = Path();
            p.autoIntervalSecs = Pick(10, 2550);
            p.manualIntervalSecs = Pick(10, 2550);
            p.beaconEvery = Pick(1, 255);
            p.quietTimeSecs = Pick(0, 255);
            p.slowSpeedFactor = Pick(1, 255);
            const std::string hex = "0123456789abcdefABCDEF";
            p.iconCode = {hex[Index(hex)], hex[Index(hex)]};
            p.useAltIconTable = Pick(0, 1);
            p.messageCode = Pick(0, 7);
            p.beaconText.clear();
            for (int i = Pick(0, 50); i > 0; --i) p.beaconText += static_cast<char>(Pick(0x20, 0x7E));
        }
        s.autoTxDelayMs = Pick(35, 1700);
        s.manualTxDelayMs = Pick(35, 1700);
        return s;
    }

private:
    std::mt19937 random_;

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
    std::size_t Index(const std::string& s) { return static_cast<std::size_t>(Pick(0, static_cast<int>(s.size()) - 1)); }
    std::string Name(int shortest, int longest) {
        static const std::string alnum = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        std::string n;
        for (int i = Pick(shortest, longest); i > 0; --i) n += alnum[Index(alnum)];
        return n;
    }
    // Up to three elements, now and then an empty one, each with an
    // optional SSID, within the box's 27 characters.
    std::string Path() {
        for (;;) {
            std::string p;
            for (int i = Pick(0, 3), k = 0; k < i; ++k) {
                if (k > 0) p += ',';
                p += Name(Pick(0, 9) == 0 ? 0 : 1, 6);
                if (Pick(0, 1)) p += "-" + std::to_string(Pick(0, 15));
            }
            if (p.size() <= 27) return p;
        }
    }
};

// What `decode` writes and `export --settings` reads, without the processes.
TrackerSettings ThroughSettingsFile(const TemplateImage& image) {
    const DecodedSettings decoded = DecodeConfigurationBlock(image);
    std::vector<cli::SettingsFileNote> notes;
    for (const auto& note : decoded.notes) notes.push_back({&FindField(note.field, note.profile), note.text});
    const std::string text = cli::WriteSettingsFile(decoded.settings, false, notes);
    const cli::SettingsLoadResult loaded = cli::LoadSettings(text, "decoded.toml", {});
    EXPECT_TRUE(loaded.settings) << loaded.error << "\n" << text;
    return loaded.settings.value_or(TrackerSettings());
}

TEST(DecodeRoundTrip, RandomSettingsExportBackToTheSameBytes) {
    const TemplateImage sample = testing::SampleTemplate();
    RandomSettings random(20261211);
    for (int round = 0; round < 2000; ++round) {
        const TrackerSettings settings = random.Next();
        const TemplateImage image = BuildPatchedImage(sample, settings);
        ASSERT_EQ(BuildPatchedImage(sample, ThroughSettingsFile(image)), image)
            << "paths \"" << settings.profiles[0].path << "\" and \"" << settings.profiles[1].path << "\"";
        for (const auto& note : DecodeConfigurationBlock(image).notes) ASSERT_TRUE(note.remark) << note.text;
    }
}

TEST(DecodeCli, DecodedDefaultsExportToTheSameImage) {
    CliFolder f;
    f.CopySampleTemplate();
    ASSERT_EQ(f.Run({"export"}).exitCode, 0);
    auto r = f.Run({"decode", "OUTPUT.HEX", "--output", "back.toml"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Settings saved as back.toml.\n");
    EXPECT_EQ(r.err, "");
    const std::string toml = f.Read("back.toml");
    EXPECT_NE(toml.find("callsign = \"MYCALL\""), std::string::npos);
    EXPECT_NE(toml.find("manualTxDelayMs = 35"), std::string::npos);
    EXPECT_NE(toml.find("beaconText = \"Configuration 2 Beacon Text\""), std::string::npos);
    EXPECT_EQ(f.Run({"decode", "OUTPUT.HEX"}).out, toml);

    ASSERT_EQ(f.Run({"export", "--settings", "back.toml", "--output", "again.hex"}).exitCode, 0);
    EXPECT_EQ(f.Read("again.hex"), f.Read("OUTPUT.HEX"));
}

TEST(DecodeCli, SaysWhatCannotBeCarriedBack) {
    CliFolder f;
    f.CopySampleTemplate();
    // Ä is stored as ff, as any character of code 0x80 or above is.
    ASSERT_EQ(f.Run({"export", "--set", "configuration2.callsign=NÄ"}).exitCode, 0);
    const auto r = f.Run({"decode", "OUTPUT.HEX"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("# Note: Character 2 was stored as ff"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("callsign = \"N¿\""), std::string::npos);
    EXPECT_EQ(r.err, "trovik-cli: note: 1 setting is not read back exactly; see the '# Note:' lines.\n");
}

TEST(DecodeCli, FileProblemsExitWithThree) {
    CliFolder f;
    auto r = f.Run({"decode", "missing.hex"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "trovik-cli: cannot read missing.hex: No such file or directory.\n");
    f.Write("short.hex", ":10000000");
    r = f.Run({"decode", "short.hex"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_NE(r.err.find("short.hex is not an image in the template's geometry"), std::string::npos);
    EXPECT_EQ(f.Run({"decode"}).exitCode, 2);
}

TEST(DiffCli, TwoSettingsFilesFieldByFieldAndConfigurationByConfiguration) {
    CliFolder f;
    f.Write("a.toml", "autoTxDelayMs = 300\n[configuration2]\nssid = 4\n");
    f.Write("b.toml", "autoTxDelayMs = 500\ncomPortIndex = 2\n[configuration1]\npath = \"WIDE2-2\"\n");
    auto r = f.Run({"diff", "a.toml", "b.toml"});
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_EQ(r.out,
              "A: a.toml (settings file)\n"
              "B: b.toml (settings file)\n"
              "Shared settings:\n"
              "  autoTxDelayMs: A 300, B 500\n"
              "  comPortIndex: A 0, B 2\n"
              "Configuration 1:\n"
              "  path: A \"RELAY,WIDE,WIDE\", B \"WIDE2-2\"\n"
              "Configuration 2:\n"
              "  ssid: A 4, B 1\n");
    r = f.Run({"diff", "a.toml", "a.toml"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "A: a.toml (settings file)\nB: a.toml (settings file)\nNo differences.\n");
}

TEST(DiffCli, ImagesAgainstSettingsAndEachOther) {
    CliFolder f;
    f.CopySampleTemplate();
    ASSERT_EQ(f.Run({"export"}).exitCode, 0);
    // 300 ms and 295 ms are the same 44 units; the port is not in an image.
    f.Write("same.toml", "autoTxDelayMs = 295\ncomPortIndex = 5\n");
    auto r = f.Run({"diff", "OUTPUT.HEX", "same.toml"});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_NE(r.out.find("No differences."), std::string::npos);

    // The sample template holds the defaults with empty beacon texts.
    r = f.Run({"diff", "TROVIK.HEX", "OUTPUT.HEX"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "A: TROVIK.HEX (image)\n"
              "B: OUTPUT.HEX (image)\n"
              "Configuration 1:\n"
              "  beaconText: A \"\", B \"Configuration 1 Beacon Text\"\n"
              "Configuration 2:\n"
              "  beaconText: A \"\", B \"Configuration 2 Beacon Text\"\n"
              "Program words outside the configuration block that differ: 0 of 849 (the same firmware).\n");

    // Another firmware: a word outside the block, and a high byte inside it.
    ProgramWords words = ImageProgramWords(*TemplateImageFromText(f.Read("OUTPUT.HEX"), "x").image);
    words[800] ^= 1;
    words[16] ^= 0x100;
    f.Write("other.hex", std::string(ImageFromWords(words, 0x3FF2).View()));
    r = f.Run({"diff", "OUTPUT.HEX", "other.hex"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out,
              "A: OUTPUT.HEX (image)\n"
              "B: other.hex (image)\n"
              "1 word of the configuration block differs without changing a setting (high bytes, word 133, "
              "bytes after a beacon text's end or unused addresses).\n"
              "Program words outside the configuration block that differ: 1 of 849 (another firmware).\n");
}

TEST(DiffCli, ProblemsExitWithTwoOrThree) {
    CliFolder f;
    f.Write("a.toml", "");
    f.Write("bad.toml", "[configuration1]\nssid = 99\n");
    auto r = f.Run({"diff", "a.toml", "bad.toml"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "trovik-cli: configuration1.ssid: Please enter an integer between 0 and 15.\n");
    f.Write("bad.hex", ":1000000000");
    EXPECT_EQ(f.Run({"diff", "bad.hex", "a.toml"}).exitCode, 3);
    EXPECT_EQ(f.Run({"diff", "a.toml", "missing"}).exitCode, 3);
    EXPECT_EQ(f.Run({"diff", "a.toml"}).exitCode, 2);
}

}  // namespace
}  // namespace trovik
