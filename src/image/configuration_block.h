#pragma once

#include <array>
#include <cstddef>

#include "image/template_image.h"
#include "settings/settings_fields.h"
#include "settings/tracker_settings.h"

namespace trovik {

// How a setting is written into the low bytes of its program words.
enum class BlockEncoding {
    Callsign,       // six words: the shifted characters of the padded callsign
    Ssid,           // one word: the station's SSID octet
    PathAddresses,  // 21 words: the three working addresses after the path
    TxDelay,        // one word: units of 6.7 ms
    Interval,       // one word: tens of seconds
    Octet,          // one word: the value itself
    IconCode,       // one word: the two characters as typed
    SymbolTable,    // one word: "2F" or "5C"
    MessageDigit,   // one character: the first digit of the word's low byte
    BeaconText,     // up to 50 words: one per character present
};

struct BlockEntry {
    FieldId field;
    int profile;  // 0 or 1, or -1 for the shared TX delays
    std::size_t firstWord;
    std::size_t wordCount;
    BlockEncoding encoding;
};

inline constexpr std::size_t kBlockFirstWord = 9;
inline constexpr std::size_t kBlockLastWord = 183;
inline constexpr std::size_t kBeaconTextWords = 50;

// Where each setting lives in program words 9 to 183, in the order the
// block is written. The path entries come after their configuration's
// callsign and SSID because both configurations share the working
// addresses: Configuration 2's path starts from what Configuration 1's left.
inline constexpr std::array<BlockEntry, 26> kConfigurationBlockLayout = {{
    {FieldId::Callsign, 0, 9, 6, BlockEncoding::Callsign},
    {FieldId::Ssid, 0, 15, 1, BlockEncoding::Ssid},
    {FieldId::Path, 0, 16, 21, BlockEncoding::PathAddresses},
    {FieldId::Callsign, 1, 37, 6, BlockEncoding::Callsign},
    {FieldId::Ssid, 1, 43, 1, BlockEncoding::Ssid},
    {FieldId::Path, 1, 44, 21, BlockEncoding::PathAddresses},
    {FieldId::AutoTxDelayMs, -1, 65, 1, BlockEncoding::TxDelay},
    {FieldId::ManualTxDelayMs, -1, 66, 1, BlockEncoding::TxDelay},
    {FieldId::ManualIntervalSecs, 0, 67, 1, BlockEncoding::Interval},
    {FieldId::AutoIntervalSecs, 0, 68, 1, BlockEncoding::Interval},
    {FieldId::ManualIntervalSecs, 1, 69, 1, BlockEncoding::Interval},
    {FieldId::AutoIntervalSecs, 1, 70, 1, BlockEncoding::Interval},
    {FieldId::BeaconEvery, 0, 71, 1, BlockEncoding::Octet},
    {FieldId::BeaconEvery, 1, 72, 1, BlockEncoding::Octet},
    {FieldId::QuietTimeSecs, 0, 73, 1, BlockEncoding::Octet},
    {FieldId::QuietTimeSecs, 1, 74, 1, BlockEncoding::Octet},
    {FieldId::SlowSpeedFactor, 0, 75, 1, BlockEncoding::Octet},
    {FieldId::SlowSpeedFactor, 1, 76, 1, BlockEncoding::Octet},
    {FieldId::IconCode, 0, 77, 1, BlockEncoding::IconCode},
    {FieldId::UseAltIconTable, 0, 78, 1, BlockEncoding::SymbolTable},
    {FieldId::IconCode, 1, 79, 1, BlockEncoding::IconCode},
    {FieldId::UseAltIconTable, 1, 80, 1, BlockEncoding::SymbolTable},
    {FieldId::MessageCode, 0, 81, 1, BlockEncoding::MessageDigit},
    {FieldId::MessageCode, 1, 82, 1, BlockEncoding::MessageDigit},
    {FieldId::BeaconText, 0, 83, kBeaconTextWords, BlockEncoding::BeaconText},
    // Program word 133 lies between the two texts and is never written.
    {FieldId::BeaconText, 1, 134, kBeaconTextWords, BlockEncoding::BeaconText},
}};

// Writes both configurations and the shared settings into the block. The
// settings must have passed their reading (ReadSettings); they are not
// changed.
void PatchConfigurationBlock(TemplateImage& image, const TrackerSettings& settings);

// The whole build of an image from a checked template: block and checksums.
TemplateImage BuildPatchedImage(const TemplateImage& templateImage, const TrackerSettings& settings);

}  // namespace trovik
