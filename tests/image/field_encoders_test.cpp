#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/field_encoders.h"

namespace trovik {
namespace {

std::string Hex(const DigipeaterAddress& a) {
    std::string out;
    for (auto octet : a) {
        if (!out.empty()) out += ' ';
        const auto pair = HexPair(octet);
        out.append(pair.begin(), pair.end());
    }
    return out;
}

std::string Hex(std::uint8_t octet) {
    const auto pair = HexPair(octet);
    return {pair.begin(), pair.end()};
}

TEST(FieldEncoders, OctetsAndCharacters) {
    EXPECT_EQ(Hex(5), "05");
    EXPECT_EQ(Hex(44), "2c");
    EXPECT_EQ(Hex(255), "ff");
    EXPECT_EQ(ShiftedChar('A'), 0x82);
    EXPECT_EQ(ShiftedChar(' '), 0x40);
    EXPECT_EQ(ShiftedChar('0'), 0x60);
    EXPECT_EQ(ShiftedChar(0xC9), 0x92);
    EXPECT_EQ(SymbolTableCode(0), (std::array<char, 2>{'2', 'F'}));
    EXPECT_EQ(SymbolTableCode(1), (std::array<char, 2>{'5', 'C'}));
    const std::string digits = "76543210";
    for (int code = 0; code < 8; ++code) EXPECT_EQ(MessageDigit(code), digits[static_cast<std::size_t>(code)]);
}

TEST(FieldEncoders, CallsignAndSsid) {
    struct Case { std::string callsign; std::vector<std::uint8_t> octets; };
    for (const Case& c : {Case{"MYCALL", {0x9a, 0xb2, 0x86, 0x82, 0x98, 0x98}},
                          Case{"AB1", {0x82, 0x84, 0x62, 0x40, 0x40, 0x40}},
                          Case{"", {0x40, 0x40, 0x40, 0x40, 0x40, 0x40}},
                          Case{"N0CALL", {0x9c, 0x60, 0x86, 0x82, 0x98, 0x98}},
                          Case{"A\x80\xC9", {0x82, 0xff, 0xff, 0x40, 0x40, 0x40}}}) {
        std::string padded = c.callsign;
        PadCallsign(padded);
        EXPECT_EQ(padded.size(), 6u);
        const auto octets = CallsignOctets(padded);
        EXPECT_EQ(std::vector<std::uint8_t>(octets.begin(), octets.end()), c.octets) << c.callsign;
    }
    EXPECT_EQ(SsidOctet(0, false), 0x60);
    EXPECT_EQ(SsidOctet(0, true), 0x61);
    EXPECT_EQ(SsidOctet(1, false), 0x62);
    EXPECT_EQ(SsidOctet(12, false), 0x78);
    EXPECT_EQ(SsidOctet(15, false), 0x7e);
    EXPECT_EQ(SsidOctet(15, true), 0x7f);
}

TEST(FieldEncoders, ConvertPathSsidsRewritesTwoDigitSsids) {
    struct Case { std::string prepared, converted; };
    for (const Case& c : {Case{"N0CALL-12,WIDE,", "N0CALL-<,WIDE,"}, Case{"WIDE-15,", "WIDE-?,"},
                          Case{"A-10,B-10,C-11,", "A-:,B-:,C-;,"}, Case{"WIDE-16,", "WIDE-16,"},
                          // At the very start: left alone, and it ends the search for that
                          // pattern, so the later one stays too.
                          Case{"-10,WIDE-10,", "-10,WIDE-10,"}, Case{"-10,WIDE-11,", "-10,WIDE-;,"}}) {
        std::string path = c.prepared;
        ConvertPathSsids(path);
        EXPECT_EQ(path, c.converted) << c.prepared;
    }
}

struct PathCase {
    std::string entered, w1, w2, w3, left;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << "'" << c.entered << "'"; }

class ParsePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ParsePathTest, FillsTheWorkingAddresses) {
    const auto& c = GetParam();
    TrackerSettings settings;
    settings.profiles[0].path = c.entered;
    PreparePaths(settings);
    auto addresses = BlankWorkingAddresses();
    std::string path = settings.profiles[0].path;
    ParsePath(path, addresses);
    EXPECT_EQ(Hex(addresses[0]), c.w1);
    EXPECT_EQ(Hex(addresses[1]), c.w2);
    EXPECT_EQ(Hex(addresses[2]), c.w3);
    EXPECT_EQ(path, c.left);
}

const std::string kBlank = "20 20 20 20 20 20 20";
INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ParsePathTest,
    ::testing::Values(
        PathCase{"RELAY,WIDE,WIDE", "a4 8a 98 82 b2 40 60", "ae 92 88 8a 40 40 60", "ae 92 88 8a 40 40 61", "WIDE,"},
        PathCase{"RELAY,WIDE", "a4 8a 98 82 b2 40 60", "ae 92 88 8a 40 40 61", kBlank, ""},
        PathCase{"WIDE", "ae 92 88 8a 40 40 61", kBlank, kBlank, ""},
        PathCase{"WIDE2-2", "ae 92 88 8a 64 40 65", kBlank, kBlank, ""},
        PathCase{"", kBlank, "40 40 40 40 40 40 61", kBlank, ""},
        PathCase{"N0CALL-12,WIDE", "9c 60 86 82 98 98 78", "ae 92 88 8a 40 40 61", kBlank, ""},
        PathCase{"WIDE1-1,WIDE2-1", "ae 92 88 8a 62 40 62", "ae 92 88 8a 64 40 63", kBlank, ""},
        PathCase{"GATE,WIDE-10,WIDE", "8e 82 a8 8a 40 40 60", "ae 92 88 8a 40 40 74", "ae 92 88 8a 40 40 61", "WIDE,"},
        PathCase{"RELAY,WIDE,WIDE,TRACE", "a4 8a 98 82 b2 40 60", "ae 92 88 8a 40 40 60", "ae 92 88 8a 40 40 61", "WIDE,TRACE,"},
        PathCase{",WIDE", kBlank, "40 40 40 40 40 40 60", "ae 92 88 8a 40 40 61", "WIDE,"},
        PathCase{"A,,B", "82 40 40 40 40 40 60", "40 40 40 40 40 40 60", "84 40 40 40 40 40 61", "B,"},
        PathCase{"ABCDEFG", "82 84 86 88 8a 8c 61", kBlank, kBlank, ""},
        PathCase{"-10,WIDE", "40 40 40 40 40 40 62", "40 40 40 40 40 40 60", "ae 92 88 8a 40 40 61", "WIDE,"},
        PathCase{"WIDE-16", "ae 92 88 8a 40 40 62", "40 40 40 40 40 40 61", kBlank, ""},
        PathCase{"WIDE-", "ae 92 88 8a 40 40 59", kBlank, kBlank, ""},
        PathCase{"WIDE-15", "ae 92 88 8a 40 40 7f", kBlank, kBlank, ""}));

TEST(FieldEncoders, SecondPathStartsFromWhatTheFirstLeft) {
    TrackerSettings settings;
    settings.profiles[1].path = "WIDE";
    PreparePaths(settings);
    auto addresses = BlankWorkingAddresses();
    ParsePath(settings.profiles[0].path, addresses);
    ParsePath(settings.profiles[1].path, addresses);
    EXPECT_EQ(Hex(addresses[0]), "ae 92 88 8a 40 40 61");
    EXPECT_EQ(Hex(addresses[1]), "ae 92 88 8a 40 40 60");
    EXPECT_EQ(Hex(addresses[2]), "ae 92 88 8a 40 40 61");
}

TEST(FieldEncoders, TxDelayUnitsTruncateTheDoubleProduct) {
    const std::vector<std::pair<int, int>> table = {{35, 5},    {67, 10},  {201, 29},  {300, 44},
                                                    {670, 99},  {1000, 149}, {1700, 253}};
    for (const auto& [ms, units] : table) EXPECT_EQ(TxDelayUnits(ms), units) << ms;
    // Multiples of 67 that land one below ms/6.7, and ones that land on it.
    for (int ms : {201, 335, 402, 603, 670, 737, 804, 1139, 1206, 1273, 1340, 1407, 1474, 1541, 1608, 1675})
        EXPECT_EQ(TxDelayUnits(ms), ms / 67 * 10 - 1) << ms;
    for (int ms : {67, 134, 268, 469, 536, 871, 938, 1005, 1072})
        EXPECT_EQ(TxDelayUnits(ms), ms / 67 * 10) << ms;
}

TEST(FieldEncoders, IntervalUnitsRoundRemaindersAboveFiveUp) {
    const std::vector<std::pair<int, int>> table = {{10, 1},   {15, 1},    {16, 2},    {150, 15},
                                                    {180, 18}, {2545, 254}, {2546, 255}, {2550, 255}};
    for (const auto& [seconds, units] : table) EXPECT_EQ(IntervalUnits(seconds), units) << seconds;
}

}  // namespace
}  // namespace trovik
