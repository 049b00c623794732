#include <climits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "settings/number_text.h"

namespace trovik {
namespace {

struct NumberCase {
    std::string text;
    std::optional<int> asInt;
    std::optional<int> asByte;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << "'" << c.text << "'"; }

class NumberTextTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTextTest, ReadsAsTheBoxesDo) {
    const auto& c = GetParam();
    EXPECT_EQ(ParseIntText(c.text), c.asInt) << "int box: '" << c.text << "'";
    EXPECT_EQ(ParseByteText(c.text), c.asByte) << "byte box: '" << c.text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberTextTest,
    ::testing::Values(
        NumberCase{"42", 42, 42}, NumberCase{"00042", 42, 42}, NumberCase{" \t42\t ", 42, 42},
        NumberCase{"+7", 7, 7}, NumberCase{"-7", -7, std::nullopt},
        // A zero counts only when it starts with the digit 0.
        NumberCase{"0", 0, 0}, NumberCase{"  00", 0, 0}, NumberCase{"+0", std::nullopt, std::nullopt},
        NumberCase{"-0", std::nullopt, std::nullopt}, NumberCase{"", std::nullopt, std::nullopt},
        NumberCase{"   ", std::nullopt, std::nullopt}, NumberCase{"+", std::nullopt, std::nullopt},
        NumberCase{"-", std::nullopt, std::nullopt}, NumberCase{"4x", std::nullopt, std::nullopt},
        NumberCase{"4 2", std::nullopt, std::nullopt}, NumberCase{"- 4", std::nullopt, std::nullopt},
        NumberCase{"\n4", std::nullopt, std::nullopt}, NumberCase{"0x10", std::nullopt, std::nullopt},
        // Beyond 32 bits: clamped to the nearest limit.
        NumberCase{"2147483647", INT_MAX, INT_MAX}, NumberCase{"2147483648", INT_MAX, INT_MAX},
        NumberCase{"99999999999999999999999", INT_MAX, INT_MAX},
        NumberCase{"-2147483648", INT_MIN, std::nullopt}, NumberCase{"-99999999999", INT_MIN, std::nullopt}));

}  // namespace
}  // namespace trovik
