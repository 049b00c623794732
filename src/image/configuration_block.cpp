#include "image/configuration_block.h"

#include "image/field_encoders.h"

namespace trovik {
namespace {

void WriteLowByte(TemplateImage& image, std::size_t word, std::array<char, 2> pair) {
    const std::size_t at = ImageRecord::LowByteOffset(word);
    image.text[at] = pair[0];
    image.text[at + 1] = pair[1];
}

void WriteOctet(TemplateImage& image, std::size_t word, std::uint8_t octet) {
    WriteLowByte(image, word, HexPair(octet));
}

int IntValue(const TrackerSettings& s, const BlockEntry& e) {
    const SettingsField& field = FindField(e.field, e.profile);
    return FieldIndex(s, field);
}

}  // namespace

void PatchConfigurationBlock(TemplateImage& image, const TrackerSettings& settings) {
    // The encoders pad the callsigns and consume the paths; they work on a
    // copy so the caller's record keeps what the user typed.
    TrackerSettings work = settings;
    std::array<bool, 2> pathEntered{!work.profiles[0].path.empty(), !work.profiles[1].path.empty()};
    PreparePaths(work);
    WorkingAddresses addresses = BlankWorkingAddresses();

    for (const BlockEntry& e : kConfigurationBlockLayout) {
        switch (e.encoding) {
            case BlockEncoding::Callsign: {
                std::string& callsign = work.profiles[e.profile].callsign;
                PadCallsign(callsign);
                const auto octets = CallsignOctets(callsign);
                for (std::size_t i = 0; i < octets.size(); ++i) WriteOctet(image, e.firstWord + i, octets[i]);
                break;
            }
            case BlockEncoding::Ssid:
                WriteOctet(image, e.firstWord,
                           SsidOctet(work.profiles[e.profile].ssid, !pathEntered[e.profile]));
                break;
            case BlockEncoding::PathAddresses: {
                ParsePath(work.profiles[e.profile].path, addresses);
                std::size_t word = e.firstWord;
                for (const auto& address : addresses)
                    for (std::uint8_t octet : address) WriteOctet(image, word++, octet);
                break;
            }
            case BlockEncoding::TxDelay:
                WriteOctet(image, e.firstWord, TxDelayUnits(IntValue(work, e)));
                break;
            case BlockEncoding::Interval:
                WriteOctet(image, e.firstWord, IntervalUnits(IntValue(work, e)));
                break;
            case BlockEncoding::Octet:
                WriteOctet(image, e.firstWord, static_cast<std::uint8_t>(IntValue(work, e)));
                break;
            case BlockEncoding::IconCode: {
                const std::string& icon = work.profiles[e.profile].iconCode;
                // The reading lets only two hex digits through; a shorter
                // code from elsewhere keeps the template's characters.
                const std::size_t at = ImageRecord::LowByteOffset(e.firstWord);
                for (std::size_t i = 0; i < 2 && i < icon.size(); ++i) image.text[at + i] = icon[i];
                break;
            }
            case BlockEncoding::SymbolTable:
                WriteLowByte(image, e.firstWord, SymbolTableCode(IntValue(work, e)));
                break;
            case BlockEncoding::MessageDigit:
                image.text[ImageRecord::LowByteOffset(e.firstWord)] = MessageDigit(IntValue(work, e));
                break;
            case BlockEncoding::BeaconText: {
                const std::string& text = work.profiles[e.profile].beaconText;
                for (std::size_t k = 0; k < text.size() && k < e.wordCount; ++k)
                    WriteOctet(image, e.firstWord + k, static_cast<std::uint8_t>(text[k]));
                break;
            }
        }
    }
}

TemplateImage BuildPatchedImage(const TemplateImage& templateImage, const TrackerSettings& settings) {
    TemplateImage image = templateImage;
    PatchConfigurationBlock(image, settings);
    RecomputeRecordChecksums(image);
    return image;
}

}  // namespace trovik
