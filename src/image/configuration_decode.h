#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/configuration_block.h"
#include "image/template_image.h"
#include "settings/tracker_settings.h"

namespace trovik {

// Something an image holds that its decoded settings do not carry back
// exactly, said for the user; the settings hold the nearest reading.
struct DecodeNote {
    FieldId field;
    int profile;       // 0 or 1, or -1 for a shared setting
    std::string text;  // a sentence in UTF-8
    // A remark only: the settings give the image's bytes back, but the
    // user should know how they were read (a path's fourth element, say,
    // is never stored).
    bool remark = false;
};

struct DecodedSettings {
    // The tool's own settings (shownProfile, comPortIndex) are not stored
    // in an image and keep their defaults.
    TrackerSettings settings;
    std::vector<DecodeNote> notes;  // in layout order
};

// Reads both configurations and the shared settings back out of an image's
// configuration block, walking the same layout table that writes it.
// Values the window would refuse (an interval of 0 s, say) are kept as the
// image holds them, with a note, rather than changed.
DecodedSettings DecodeConfigurationBlock(const TemplateImage& image);

// The value of program word n's low byte.
std::uint8_t LowByteValue(const TemplateImage& image, std::size_t word);

// The layout entry a program word belongs to; null outside the block and
// for word 133, which no setting uses.
const BlockEntry* FindBlockEntry(std::size_t word);

// The smallest number of milliseconds, from `lowest` on, whose TX delay is
// `units` units; when none from `lowest` on is, the smallest of all.
int TxDelayMsForUnits(std::uint8_t units, int lowest = 0);

}  // namespace trovik
