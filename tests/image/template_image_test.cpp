#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "image/template_image.h"
#include "sample_template.h"

namespace trovik {
namespace {

using testing::SampleTemplate;
using testing::SampleTemplateText;

TEST(TemplateImage, HexDigitValue) {
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('9'), 9);
    EXPECT_EQ(HexDigitValue('f'), 15);
    EXPECT_EQ(HexDigitValue('F'), 15);
    EXPECT_EQ(HexDigitValue('a'), 10);
    EXPECT_EQ(HexDigitValue('G'), 23);
    EXPECT_EQ(HexDigitValue('\0'), 208);
}

// Sets record r's byte count, address, type and data so that they sum to
// `sum`, with the checksum digits as given.
void SetRecord(TemplateImage& image, std::size_t r, const std::string& fields40, const std::string& checksum) {
    const std::size_t start = ImageRecord::Start(r);
    fields40.copy(&image.text[start + 1], 40);
    checksum.copy(&image.text[start + 41], 2);
}

std::string Checksum(const TemplateImage& image, std::size_t r) {
    return std::string(&image.text[ImageRecord::Start(r) + 41], 2);
}

TEST(TemplateImage, RecomputesChecksumsOfRecords1To23Only) {
    TemplateImage image = SampleTemplate();
    // Sum 0x00: checksum 00.
    SetRecord(image, 1, "10001000" + std::string(30, '0') + "E0", "FF");
    // Mixed case digits count by value; sum 0xF4 gives 0c, with its zero.
    SetRecord(image, 2, "10002000aBAb6E" + std::string(26, '0'), "00");
    // An untouched record's upper-case checksum comes back in lower case.
    SetRecord(image, 23, "10017000DB" + std::string(30, '0'), "A4");
    // Records 0 and 24 keep their checksums, even wrong ones.
    SetRecord(image, 0, "1000000000000000000000000000000000000000", "77");
    SetRecord(image, 24, "1001800000000000000000000000000000000000", "Zz");
    RecomputeRecordChecksums(image);
    EXPECT_EQ(Checksum(image, 1), "00");
    EXPECT_EQ(Checksum(image, 2), "0c");
    EXPECT_EQ(Checksum(image, 23), "a4");
    EXPECT_EQ(Checksum(image, 0), "77");
    EXPECT_EQ(Checksum(image, 24), "Zz");
}

TEST(TemplateImage, SampleTemplateIsWhatItsGeneratorMakes) {
    EXPECT_FALSE(FindTemplateProblem(SampleTemplateText()));
    EXPECT_EQ(SampleTemplateText().size(), kTemplateImageSize);
    const std::string path = ::testing::TempDir() + "generated.hex";
    ASSERT_EQ(std::system((std::string(MAKE_SAMPLE_TEMPLATE) + " " + path).c_str()), 0);
    EXPECT_EQ(testing::ReadWholeFile(path), SampleTemplateText());
}

struct Damage {
    std::size_t offset;
    std::string replacement;
    std::string problem;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.problem; }

class TemplateDamageTest : public ::testing::TestWithParam<Damage> {};

TEST_P(TemplateDamageTest, NamesTheFirstProblemAndItsLine) {
    std::string text = SampleTemplateText();
    const auto& d = GetParam();
    text.replace(d.offset, d.replacement.size(), d.replacement);
    const auto result = TemplateImageFromText(text, "TROVIK.HEX");
    EXPECT_FALSE(result.image);
    EXPECT_EQ(result.error, "The template TROVIK.HEX is not usable: " + d.problem + ".");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TemplateDamageTest,
    ::testing::Values(
        Damage{0, ";", "line 1: the record does not begin with ':'"},
        Damage{45 * 3 + 12, "g", "line 4: character 13 of the record is not a hex digit"},
        Damage{45 * 3 + 41, " ", "line 4: character 42 of the record is not a hex digit"},
        Damage{45 * 5 + 1, "0F", "line 6: the record holds 15 data bytes, not 16"},
        Damage{45 * 7 + 7, "04", "line 8: the record is of type 04, not a data record (00)"},
        Damage{45 * 127 + 43, "\n\n", "line 128: the line is not 45 characters long with a CR LF line end"},
        Damage{45 * 2 + 9, "FF", "line 3: the record's checksum is e8 but should be 8d"}));

TEST(TemplateImage, ShortTemplateAndTrailingCharacters) {
    const std::string text = SampleTemplateText();
    auto result = TemplateImageFromText(text.substr(0, 5800), "T.HEX");
    EXPECT_EQ(result.error, "The template T.HEX is not usable: it holds 5800 bytes, but a template holds 5801.");
    // The 41 characters after the records are copied, never checked; a
    // longer file contributes only its first 5801 characters.
    std::string odd = text.substr(0, kRecordsEnd) + std::string(41, '#') + "more";
    result = TemplateImageFromText(odd, "T.HEX");
    ASSERT_TRUE(result.image);
    EXPECT_EQ(result.image->View(), odd.substr(0, kTemplateImageSize));
}

TEST(TemplateImage, ReadReportsAFileThatCannotBeRead) {
    testing::MemoryFiles files;
    const auto result = ReadTemplateImage(files, "TROVIK.HEX");
    EXPECT_FALSE(result.image);
    EXPECT_EQ(result.error, "The template TROVIK.HEX cannot be read: No such file or directory.");
}

}  // namespace
}  // namespace trovik
