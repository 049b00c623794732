#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/configuration_block.h"
#include "sample_template.h"

namespace trovik {
namespace {

// The low byte of program word n as the image text holds it.
std::string LowByte(const TemplateImage& image, std::size_t word) {
    return std::string(&image.text[ImageRecord::LowByteOffset(word)], 2);
}

std::string LowBytes(const TemplateImage& image, std::size_t first, std::size_t last) {
    std::string out;
    for (std::size_t w = first; w <= last; ++w) {
        if (!out.empty()) out += ' ';
        out += LowByte(image, w);
    }
    return out;
}

TemplateImage Patched(const TrackerSettings& settings) {
    TemplateImage image = testing::SampleTemplate();
    PatchConfigurationBlock(image, settings);
    return image;
}

TEST(ConfigurationBlock, DefaultsGiveTheKnownBytes) {
    const TrackerSettings defaults;
    const TemplateImage image = Patched(defaults);
    EXPECT_EQ(LowBytes(image, 9, 15), "9a b2 86 82 98 98 60");
    EXPECT_EQ(LowBytes(image, 16, 22), "a4 8a 98 82 b2 40 60");
    EXPECT_EQ(LowBytes(image, 23, 29), "ae 92 88 8a 40 40 60");
    EXPECT_EQ(LowBytes(image, 30, 36), "ae 92 88 8a 40 40 61");
    EXPECT_EQ(LowBytes(image, 37, 43), "9a b2 86 82 98 98 62");
    EXPECT_EQ(LowBytes(image, 44, 64), LowBytes(image, 16, 36));
    EXPECT_EQ(LowBytes(image, 65, 76), "2c 05 12 12 0f 0f 05 05 01 01 01 01");
    EXPECT_EQ(LowBytes(image, 77, 80), "3E 2F 3E 2F");
    EXPECT_EQ(image.text[463], '7');
    EXPECT_EQ(image.text[467], '7');
    const std::string text1 = "43 6f 6e 66 69 67 75 72 61 74 69 6f 6e 20 31 20 42 65 61 63 6f 6e 20 54 65 78 74";
    EXPECT_EQ(LowBytes(image, 83, 109), text1);
    std::string text2 = text1;
    text2.replace(text2.find("31"), 2, "32");
    EXPECT_EQ(LowBytes(image, 134, 160), text2);
}

TEST(ConfigurationBlock, ChangesNothingOutsideTheLayout) {
    const TemplateImage original = testing::SampleTemplate();
    TrackerSettings s;
    s.profiles[0].beaconText = std::string(50, 'x');
    s.profiles[1].beaconText = std::string(50, 'y');
    s.profiles[0].messageCode = 7;
    s.profiles[1].useAltIconTable = 1;
    TemplateImage image = original;
    PatchConfigurationBlock(image, s);
    std::vector<bool> written(kTemplateImageSize, false);
    for (std::size_t w = kBlockFirstWord; w <= kBlockLastWord; ++w) {
        if (w == 133) continue;
        const std::size_t at = ImageRecord::LowByteOffset(w);
        written[at] = true;
        written[at + 1] = w != 81 && w != 82;  // a message digit is one character
    }
    for (std::size_t i = 0; i < kTemplateImageSize; ++i)
        if (!written[i]) {
            EXPECT_EQ(image.text[i], original.text[i]) << "character " << i;
        }
    EXPECT_EQ(image.text[463], '0');
    EXPECT_EQ(std::string(&image.text[438], 2), "2F");
    EXPECT_EQ(std::string(&image.text[442 + 17], 2), "5C");
}

TEST(ConfigurationBlock, EmptyPaths) {
    TrackerSettings s;
    s.profiles[0].path = "";
    TemplateImage image = Patched(s);
    EXPECT_EQ(LowByte(image, 15), "61");
    EXPECT_EQ(LowBytes(image, 16, 22), "20 20 20 20 20 20 20");
    EXPECT_EQ(LowBytes(image, 23, 29), "40 40 40 40 40 40 61");
    EXPECT_EQ(LowBytes(image, 30, 36), "20 20 20 20 20 20 20");

    TrackerSettings t;
    t.profiles[1].path = "";
    image = Patched(t);
    EXPECT_EQ(LowByte(image, 43), "63");
    EXPECT_EQ(LowBytes(image, 44, 50), "a4 8a 98 82 b2 40 60");
    EXPECT_EQ(LowBytes(image, 51, 57), "40 40 40 40 40 40 61");
    EXPECT_EQ(LowBytes(image, 58, 64), "ae 92 88 8a 40 40 61");
}

TEST(ConfigurationBlock, ShortTextsLeaveTheTemplatesBytes) {
    TrackerSettings s;
    s.profiles[0].beaconText = "Hi";
    s.profiles[1].beaconText = "";
    s.profiles[0].iconCode = "3e";
    const TemplateImage original = testing::SampleTemplate();
    TemplateImage image = Patched(s);
    EXPECT_EQ(LowBytes(image, 83, 84), "48 69");
    EXPECT_EQ(LowBytes(image, 85, 183), LowBytes(original, 85, 183));
    EXPECT_EQ(std::string(&image.text[434], 2), "3e");
    // A text's character k lands on word 83 + k or 134 + k.
    s.profiles[0].beaconText = std::string(49, '.') + "\xE9";
    s.profiles[1].beaconText = "AB" + std::string(47, '.') + "Z";
    image = Patched(s);
    EXPECT_EQ(std::string(&image.text[745], 2), "e9");
    EXPECT_EQ(std::string(&image.text[753], 2), "41");
    EXPECT_EQ(std::string(&image.text[757], 2), "42");
    EXPECT_EQ(LowByte(image, 183), "5a");
}

TEST(ConfigurationBlock, SameSettingsSameBytesAndTheRecordIsKept) {
    TrackerSettings s;
    s.profiles[0].path = "WIDE1-1,WIDE2-12";
    const TrackerSettings before = s;
    const TemplateImage a = BuildPatchedImage(testing::SampleTemplate(), s);
    const TemplateImage b = BuildPatchedImage(testing::SampleTemplate(), s);
    EXPECT_EQ(a, b);
    EXPECT_EQ(s, before);
}

TEST(ConfigurationBlock, DefaultsMatchTheGoldenOutput) {
    const TemplateImage image = BuildPatchedImage(testing::SampleTemplate(), TrackerSettings());
    EXPECT_EQ(std::string(image.View()), testing::ReadWholeFile(TROVIK_TEST_DATA "/default_output.hex"));
}

}  // namespace
}  // namespace trovik
