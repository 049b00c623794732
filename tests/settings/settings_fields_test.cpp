#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings_fields.h"

namespace trovik {
namespace {

TEST(TrackerSettings, DefaultsOfBothConfigurations) {
    const TrackerSettings s;
    EXPECT_EQ(s.autoTxDelayMs, 300);
    EXPECT_EQ(s.manualTxDelayMs, 35);
    EXPECT_EQ(s.shownProfile, 0);
    EXPECT_EQ(s.comPortIndex, 0);
    const auto& c1 = s.profiles[0];
    const auto& c2 = s.profiles[1];
    EXPECT_EQ(c1.callsign, "MYCALL");
    EXPECT_EQ(c1.path, "RELAY,WIDE,WIDE");
    EXPECT_EQ(c1.iconCode, "3E");
    EXPECT_EQ(c1.beaconText, "Configuration 1 Beacon Text");
    EXPECT_EQ(c2.beaconText, "Configuration 2 Beacon Text");
    EXPECT_EQ(std::make_pair(c1.autoIntervalSecs, c2.autoIntervalSecs), std::make_pair(180, 150));
    EXPECT_EQ(std::make_pair(c1.manualIntervalSecs, c2.manualIntervalSecs), std::make_pair(180, 150));
    EXPECT_EQ(std::make_pair(c1.ssid, c2.ssid), std::make_pair(std::uint8_t{0}, std::uint8_t{1}));
    for (const auto& p : s.profiles) {
        EXPECT_EQ(p.beaconEvery, 5);
        EXPECT_EQ(p.quietTimeSecs, 1);
        EXPECT_EQ(p.slowSpeedFactor, 1);
        EXPECT_EQ(p.useAltIconTable, 0);
        EXPECT_EQ(p.messageCode, 0);
    }
}

TEST(SettingsFields, TableCoversEveryControlOnceInReadingOrder) {
    const std::vector<int> readingOrder = {1004, 1025, 1021, 1020, 1001, 1022, 1003, 1024, 1019, 1040,
                                           1018, 1039, 1008, 1029, 1009, 1030, 1005, 1026, 1006, 1027,
                                           1007, 1028, 1002, 1023, 1049, 1051, 1052, 1041};
    std::vector<int> ids;
    std::set<std::string> keys;
    for (const auto& f : kSettingsFields) {
        ids.push_back(f.controlId);
        keys.insert(QualifiedKey(f));
    }
    EXPECT_EQ(ids, readingOrder);
    EXPECT_EQ(keys.size(), kSettingsFields.size());
    EXPECT_EQ(FindFieldByKey("configuration2.ssid")->controlId, 1023);
    EXPECT_EQ(FindFieldByKey("autoTxDelayMs")->controlId, 1021);
    EXPECT_EQ(FindFieldByKey("ssid"), nullptr);
}

// One field's text and the message its reading gives (empty: accepted).
struct FieldCase {
    std::string key;
    std::string text;
    std::string message;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.key << "='" << c.text << "'"; }

class FieldReadingTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FieldReadingTest, ChecksLikeTheWindow) {
    const auto& c = GetParam();
    TrackerSettings settings;
    const auto message = ReadFieldText(settings, *FindFieldByKey(c.key), c.text);
    EXPECT_EQ(message.value_or(""), c.message) << c.key << " = '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldReadingTest,
    ::testing::Values(
        FieldCase{"configuration1.autoIntervalSecs", "10", ""},
        FieldCase{"configuration1.autoIntervalSecs", "2550", ""},
        FieldCase{"configuration1.autoIntervalSecs", "9", "Please enter an integer between 10 and 2550."},
        FieldCase{"configuration2.manualIntervalSecs", "2551", "Please enter an integer between 10 and 2550."},
        FieldCase{"autoTxDelayMs", "35", ""}, FieldCase{"manualTxDelayMs", "1700", ""},
        FieldCase{"autoTxDelayMs", "34", "Please enter an integer between 35 and 1700."},
        FieldCase{"manualTxDelayMs", "1701", "Please enter an integer between 35 and 1700."},
        FieldCase{"configuration1.quietTimeSecs", "0", ""},
        FieldCase{"configuration1.slowSpeedFactor", "0", "Please enter an integer between 1 and 255."},
        FieldCase{"configuration2.beaconEvery", "256", "Please enter an integer between 1 and 255."},
        FieldCase{"configuration1.beaconEvery", "", "Please enter an integer."},
        FieldCase{"configuration1.beaconEvery", "-5", "Please enter an integer between 1 and 255."},
        FieldCase{"configuration1.beaconEvery", "99999999999", "Please enter an integer between 1 and 255."},
        FieldCase{"configuration1.ssid", "15", ""}, FieldCase{"configuration1.ssid", " 007 ", ""},
        FieldCase{"configuration1.ssid", "16", "Please enter an integer between 0 and 15."},
        FieldCase{"configuration1.ssid", "255", "Please enter an integer between 0 and 15."},
        FieldCase{"configuration1.ssid", "300", "Please enter an integer between 0 and 255."},
        FieldCase{"configuration2.ssid", "", "Please enter an integer between 0 and 255."},
        FieldCase{"configuration2.ssid", "-1", "Please enter an integer between 0 and 255."},
        FieldCase{"configuration2.ssid", "99999999999", "Please enter an integer between 0 and 255."},
        FieldCase{"configuration1.callsign", "", ""}, FieldCase{"configuration1.callsign", "N0CALL", ""},
        FieldCase{"configuration1.callsign", "N0CALLX", "Please enter no more than 6 characters."},
        FieldCase{"configuration2.path", std::string(27, 'A'), ""},
        FieldCase{"configuration2.path", std::string(28, 'A'), "Please enter no more than 27 characters."},
        FieldCase{"configuration1.beaconText", std::string(51, 'x'), "Please enter no more than 50 characters."},
        FieldCase{"configuration1.iconCode", "3e", ""}, FieldCase{"configuration1.iconCode", "A0", ""},
        FieldCase{"configuration1.iconCode", "3EE", "Please enter no more than 2 characters."},
        FieldCase{"configuration1.iconCode", "", "Please enter the icon number as two hexadecimal digits."},
        FieldCase{"configuration1.iconCode", "3", "Please enter the icon number as two hexadecimal digits."},
        FieldCase{"configuration2.iconCode", "3G", "Please enter the icon number as two hexadecimal digits."}));

TEST(ReadSettings, DefaultsReadBackUnchanged) {
    TrackerSettings read;
    read.profiles[0].callsign = "OTHER";
    EXPECT_FALSE(ReadSettings(SettingsForm(TrackerSettings()), read));
    EXPECT_EQ(read, TrackerSettings());
}

TEST(ReadSettings, ReportsOnlyTheFirstFailingFieldInReadingOrder) {
    SettingsForm form;
    form.SetText(*FindFieldByKey("configuration1.ssid"), "16");
    form.SetText(*FindFieldByKey("configuration2.ssid"), "16");
    form.SetText(*FindFieldByKey("autoTxDelayMs"), "20");
    TrackerSettings settings;
    auto failure = ReadSettings(form, settings);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->field->controlId, 1021);
    EXPECT_EQ(failure->message, "Please enter an integer between 35 and 1700.");

    // Icon 1's hex check comes before icon 2's length check.
    SettingsForm icons;
    icons.SetText(*FindFieldByKey("configuration2.iconCode"), "123");
    icons.SetText(*FindFieldByKey("configuration1.iconCode"), "zz");
    failure = ReadSettings(icons, settings);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->field->controlId, 1008);
}

TEST(ReadSettings, FlagsAndListsAreTakenAsGiven) {
    SettingsForm form;
    form.SetIndex(*FindFieldByKey("configuration2.useAltIconTable"), 1);
    form.SetIndex(*FindFieldByKey("configuration1.messageCode"), 7);
    form.SetIndex(*FindFieldByKey("comPortIndex"), 7);
    form.SetIndex(*FindFieldByKey("shownProfile"), 1);
    TrackerSettings settings;
    ASSERT_FALSE(ReadSettings(form, settings));
    EXPECT_EQ(settings.profiles[1].useAltIconTable, 1);
    EXPECT_EQ(settings.profiles[0].messageCode, 7);
    EXPECT_EQ(settings.comPortIndex, 7);
    EXPECT_EQ(settings.shownProfile, 1);
}

}  // namespace
}  // namespace trovik
