#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/configuration_decode.h"
#include "image/field_encoders.h"
#include "image/image_words.h"
#include "sample_template.h"

namespace trovik {
namespace {

TemplateImage Encoded(const TrackerSettings& settings) {
    return BuildPatchedImage(testing::SampleTemplate(), settings);
}

std::vector<std::string> NotesOf(const DecodedSettings& decoded, FieldId field, int profile, bool remarks = false) {
    std::vector<std::string> texts;
    for (const auto& note : decoded.notes)
        if (note.field == field && note.profile == profile && (remarks || !note.remark)) texts.push_back(note.text);
    return texts;
}

bool HasLoss(const DecodedSettings& decoded) {
    for (const auto& note : decoded.notes)
        if (!note.remark) return true;
    return false;
}

void SetLowByte(TemplateImage& image, std::size_t word, const char* pair) {
    image.text[ImageRecord::LowByteOffset(word)] = pair[0];
    image.text[ImageRecord::LowByteOffset(word) + 1] = pair[1];
}

TEST(ConfigurationDecode, DefaultsReadBackWithTheirTxDelaysAsTheSmallestAcceptedMs) {
    const TrackerSettings defaults;
    const DecodedSettings decoded = DecodeConfigurationBlock(Encoded(defaults));
    TrackerSettings expected = defaults;
    expected.autoTxDelayMs = 295;  // 300 ms and 295 ms are both 44 units
    EXPECT_EQ(decoded.settings, expected);
    EXPECT_FALSE(HasLoss(decoded));
    // 35 ms is 5 units, and so is 34 ms, which the settings refuse.
    EXPECT_EQ(decoded.settings.manualTxDelayMs, 35);
}

TEST(ConfigurationDecode, PathsReadBackAsTheirAddressesSpellThem) {
    struct Case {
        std::string path1, path2, read1, read2;
    };
    const Case cases[] = {
        {"WIDE2-2", "", "WIDE2-2", ""},
        {"N0CALL-12,WIDE", "WIDE-15", "N0CALL-12,WIDE", "WIDE-15"},
        {"WIDE-0", "RELAY,WIDE,WIDE,TRACE", "WIDE", "RELAY,WIDE,WIDE"},
        // Configuration 2's shorter path leaves Configuration 1's last
        // addresses in place; the end-of-address bit says where it stops.
        {"RELAY,WIDE,WIDE", "WIDE", "RELAY,WIDE,WIDE", "WIDE"},
        {"", "A1-9,B-10", "", "A1-9,B-10"},
        {",WIDE", "A,,B", ",WIDE", "A,,B"},
        {"ABCDEF-10,ABCDE-11,ABCD-12", "ABCDEF-15,B", "ABCDEF-10,ABCDE-11,ABCD-12", "ABCDEF-15,B"},
        // A leading "-12" is not converted: its '2' is passed over, and
        // the ',' after it starts an empty element.
        {"-12,A", "-3", "-1,,A", "-3"},
    };
    for (const auto& c : cases) {
        TrackerSettings s;
        s.profiles[0].path = c.path1;
        s.profiles[1].path = c.path2;
        const TemplateImage image = Encoded(s);
        const DecodedSettings decoded = DecodeConfigurationBlock(image);
        EXPECT_EQ(decoded.settings.profiles[0].path, c.read1) << c.path1;
        EXPECT_EQ(decoded.settings.profiles[1].path, c.read2) << c.path2;
        EXPECT_FALSE(HasLoss(decoded)) << c.path1 << " " << c.path2;
        EXPECT_EQ(Encoded(decoded.settings), image) << c.path1 << " " << c.path2;
    }
}

TEST(ConfigurationDecode, ThreeElementPathsRemarkThatLaterElementsAreNotStored) {
    const DecodedSettings decoded = DecodeConfigurationBlock(Encoded(TrackerSettings()));
    ASSERT_EQ(NotesOf(decoded, FieldId::Path, 0, true).size(), 1u);
    EXPECT_NE(NotesOf(decoded, FieldId::Path, 0, true)[0].find("after the third"), std::string::npos);
}

TEST(ConfigurationDecode, WhatCannotBeRecoveredIsNoted) {
    TrackerSettings s;
    s.profiles[0].callsign = "N\xC4";  // Ä is stored as ff, like any code of 0x80 or above
    TemplateImage image = Encoded(s);
    SetLowByte(image, 68, "00");     // Configuration 1's automatic interval: 0 units
    SetLowByte(image, 80, "00");     // Configuration 2's symbol table: neither 2F nor 5C
    image.text[463] = '9';           // Configuration 1's message bits
    SetLowByte(image, 43, "41");     // Configuration 2's SSID octet
    SetLowByte(image, 17, "41");     // an odd octet inside Configuration 1's first address

    const DecodedSettings decoded = DecodeConfigurationBlock(image);
    EXPECT_EQ(decoded.settings.profiles[0].callsign, "N\xBF");
    ASSERT_EQ(NotesOf(decoded, FieldId::Callsign, 0).size(), 1u);
    EXPECT_NE(NotesOf(decoded, FieldId::Callsign, 0)[0].find("ff"), std::string::npos);
    EXPECT_EQ(decoded.settings.profiles[0].autoIntervalSecs, 0);
    EXPECT_EQ(NotesOf(decoded, FieldId::AutoIntervalSecs, 0).size(), 1u);
    EXPECT_EQ(NotesOf(decoded, FieldId::UseAltIconTable, 1).size(), 1u);
    EXPECT_EQ(NotesOf(decoded, FieldId::MessageCode, 0).size(), 1u);
    EXPECT_EQ(NotesOf(decoded, FieldId::Ssid, 1).size(), 1u);
    EXPECT_FALSE(NotesOf(decoded, FieldId::Path, 0).empty());
    // Nothing else is blamed.
    EXPECT_TRUE(NotesOf(decoded, FieldId::Callsign, 1).empty());
    EXPECT_TRUE(NotesOf(decoded, FieldId::BeaconText, 0).empty());
}

TEST(ConfigurationDecode, BeaconTextEndsAtTheFirstNulOrAfterFiftyCharacters) {
    TrackerSettings s;
    s.profiles[0].beaconText = std::string(50, 'x');
    s.profiles[1].beaconText = "Hi";
    TemplateImage image = Encoded(s);
    SetLowByte(image, 135, "00");
    const DecodedSettings decoded = DecodeConfigurationBlock(image);
    EXPECT_EQ(decoded.settings.profiles[0].beaconText, std::string(50, 'x'));
    EXPECT_EQ(decoded.settings.profiles[1].beaconText, "H");
}

TEST(ConfigurationDecode, TxDelayMsIsTheSmallestThatGivesTheUnits) {
    for (int units = 5; units <= 253; ++units) {
        const int ms = TxDelayMsForUnits(static_cast<std::uint8_t>(units), 35);
        EXPECT_EQ(TxDelayUnits(ms), units);
        EXPECT_TRUE(ms == 35 || TxDelayUnits(ms - 1) != units) << units;
    }
    EXPECT_EQ(TxDelayMsForUnits(5), 34);
    EXPECT_EQ(TxDelayMsForUnits(0, 35), 0);  // nothing from 35 ms on is 0 units
}

TEST(ConfigurationDecode, WordsFindTheSettingTheyBelongTo) {
    EXPECT_EQ(FindBlockEntry(8), nullptr);
    ASSERT_NE(FindBlockEntry(9), nullptr);
    EXPECT_EQ(FindBlockEntry(9)->field, FieldId::Callsign);
    EXPECT_EQ(FindBlockEntry(50)->field, FieldId::Path);
    EXPECT_EQ(FindBlockEntry(50)->profile, 1);
    EXPECT_EQ(FindBlockEntry(133), nullptr);
    EXPECT_EQ(FindBlockEntry(183)->field, FieldId::BeaconText);
    EXPECT_EQ(FindBlockEntry(184), nullptr);
}

TEST(ImageWords, TheSampleTemplateIsWrittenBackCharacterForCharacter) {
    const TemplateImage sample = testing::SampleTemplate();
    EXPECT_EQ(ImageConfigurationWord(sample), 0x3FF2);
    EXPECT_EQ(ImageFromWords(ImageProgramWords(sample), 0x3FF2), sample);
}

TEST(ImageWords, AnyWordsMakeAValidImageThatGivesThemBack) {
    std::mt19937 random(7);
    ProgramWords words{};
    for (auto& w : words) w = static_cast<std::uint16_t>(random() & 0x3FFF);
    const TemplateImage image = ImageFromWords(words, 0x0123);
    EXPECT_EQ(FindTemplateProblem(image.View()), std::nullopt);
    EXPECT_EQ(ImageProgramWords(image), words);
    EXPECT_EQ(ImageConfigurationWord(image), 0x0123);
    EXPECT_EQ(image.View().substr(kRecordsEnd, 30), ":02400E0023018C\r\n:00000001FF\r\n");
    EXPECT_EQ(ImageConfigurationWord(TemplateImage{}), std::nullopt);
}

}  // namespace
}  // namespace trovik
