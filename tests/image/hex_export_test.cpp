#include <gtest/gtest.h>

#include "image/configuration_block.h"
#include "image/hex_export.h"
#include "sample_template.h"

namespace trovik {
namespace {

TEST(HexExport, WritesThePatchedTemplate) {
    testing::MemoryFiles files;
    files.files["TROVIK.HEX"] = testing::SampleTemplateText() + "extra bytes past 5801";
    const auto result = ExportHexFile(files, TrackerSettings());
    EXPECT_EQ(result.status, ExportStatus::Saved);
    EXPECT_EQ(result.message, "Hex file saved as OUTPUT.HEX.");
    EXPECT_EQ(files.files["OUTPUT.HEX"],
              std::string(BuildPatchedImage(testing::SampleTemplate(), TrackerSettings()).View()));
    EXPECT_EQ(ExportHexFile(files, TrackerSettings(), "TROVIK.HEX", "out/new.hex").message,
              "Hex file saved as out/new.hex.");
}

TEST(HexExport, FailuresWriteNothingAndSayWhy) {
    testing::MemoryFiles files;
    auto result = ExportHexFile(files, TrackerSettings());
    EXPECT_EQ(result.status, ExportStatus::TemplateProblem);
    EXPECT_EQ(result.message,
              "The template TROVIK.HEX cannot be read: No such file or directory. Nothing was written.");
    EXPECT_FALSE(files.files.count("OUTPUT.HEX"));

    files.files["TROVIK.HEX"] = testing::SampleTemplateText();
    files.writeFailure = "No space left on device";
    result = ExportHexFile(files, TrackerSettings());
    EXPECT_EQ(result.status, ExportStatus::OutputProblem);
    EXPECT_EQ(result.message,
              "The hex file OUTPUT.HEX could not be saved: No space left on device. "
              "Any earlier OUTPUT.HEX is unchanged.");
}

}  // namespace
}  // namespace trovik
