// Building one image in memory: check the template text, patch the
// configuration block and recompute the checksums.
#include <fstream>
#include <iterator>
#include <string>

#include <benchmark/benchmark.h>

#include "image/configuration_block.h"
#include "image/template_image.h"

namespace {

std::string SampleTemplateText() {
    std::ifstream in(TROVIK_SOURCE_DIR "/examples/TROVIK.HEX", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void BuildImageFromBuffer(benchmark::State& state) {
    const std::string text = SampleTemplateText();
    trovik::TrackerSettings settings;
    settings.profiles[0].path = "WIDE1-1,WIDE2-12,TRACE";
    settings.profiles[1].beaconText = std::string(50, 'b');
    for (auto _ : state) {
        auto read = trovik::TemplateImageFromText(text, "TROVIK.HEX");
        auto image = trovik::BuildPatchedImage(*read.image, settings);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(BuildImageFromBuffer);

void PatchAndChecksumOnly(benchmark::State& state) {
    const auto templateImage = *trovik::TemplateImageFromText(SampleTemplateText(), "TROVIK.HEX").image;
    const trovik::TrackerSettings settings;
    for (auto _ : state) {
        auto image = trovik::BuildPatchedImage(templateImage, settings);
        benchmark::DoNotOptimize(image);
    }
}
BENCHMARK(PatchAndChecksumOnly);

}  // namespace

BENCHMARK_MAIN();
