#include "image/configuration_decode.h"

#include <algorithm>
#include <array>

#include "image/field_encoders.h"
#include "settings/settings_fields.h"
#include "settings/single_byte_text.h"

namespace trovik {
namespace {

constexpr std::uint8_t kEndOfAddress = 0x01;
constexpr std::uint8_t kShiftedBlank = 0x40;
constexpr std::uint8_t kNoSsid = 0x60;   // SSID 0
constexpr std::uint8_t kSsid10 = 0x74;
constexpr std::uint8_t kSsid15 = 0x7E;
// Stands for a character of code 0x80 or above, which every such
// character is stored as (ff): any of them gives the same image.
constexpr char kHighCharacter = '\xBF';

std::string Hex(std::uint8_t octet) {
    const auto pair = HexPair(octet);
    return {pair[0], pair[1]};
}

std::string Ordinal(std::size_t n) { return "character " + std::to_string(n + 1); }

// The text of a settings value, for notes.
std::string Shown(const std::string& latin1) { return "\"" + Utf8FromLatin1(latin1) + "\""; }

// A path element read back from a working address.
struct Element {
    std::string text;
    std::vector<std::string> problems;
};

// The element's name and SSID. `shortSsid` writes SSIDs 10 to 15 as the
// one character they are stored as ("-:" for 10) instead of two digits.
Element ElementFromAddress(const DigipeaterAddress& address, bool shortSsid, bool first) {
    Element e;
    std::size_t length = 6;
    while (length > 0 && address[length - 1] == kShiftedBlank) --length;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t octet = address[i];
        const char c = static_cast<char>(octet >> 1);
        if ((octet & 1) != 0) {
            e.text += '?';
            e.problems.push_back(Ordinal(i) + " of an address was stored as " + Hex(octet) +
                                 ", which no character gives");
        } else if (c == ',' || c == '-') {
            e.text += '?';
            e.problems.push_back(Ordinal(i) + " of an address is '" + std::string(1, c) +
                                 "', which a path cannot hold inside a name");
        } else {
            e.text += c;
        }
    }
    const auto ssid = static_cast<std::uint8_t>(address[6] & ~kEndOfAddress);
    // An empty first element spelled "" would make the path begin with ','
    // and skip the first address.
    if (ssid == kNoSsid && !(first && e.text.empty())) return e;
    e.text += '-';
    if (ssid >= kNoSsid && ssid < kSsid10 && (ssid & 1) == 0) {
        e.text += static_cast<char>('0' + (ssid - kNoSsid) / 2);
    } else if (ssid >= kSsid10 && ssid <= kSsid15 && !shortSsid) {
        e.text += "1";
        e.text += static_cast<char>('0' + (ssid - kSsid10) / 2);
    } else {
        // Whatever character follows the '-' is stored shifted.
        e.text += static_cast<char>(ssid >> 1);
    }
    return e;
}

// Whether a path, entered as it stands, leaves the working addresses as
// the image holds them when it starts from `before`.
bool PathGives(const std::string& path, const WorkingAddresses& before, const WorkingAddresses& stored) {
    std::string prepared = path + ',';
    ConvertPathSsids(prepared);
    WorkingAddresses addresses = before;
    ParsePath(prepared, addresses);
    return addresses == stored;
}

struct PathReading {
    std::string path;
    std::size_t elements = 0;
    std::vector<std::string> problems;
    bool shortSsids = false;
};

// The path as the addresses before the one with the end-of-address bit
// spell it. A path that began with ',' never reached the first address;
// its ',' left an empty second one.
std::vector<PathReading> PathReadings(const WorkingAddresses& stored) {
    std::vector<PathReading> readings;
    for (bool shortSsid : {false, true}) {
        PathReading r;
        r.shortSsids = shortSsid;
        std::size_t count = 3;
        for (std::size_t i = 0; i < 3; ++i)
            if ((stored[i][6] & kEndOfAddress) != 0) {
                count = i + 1;
                break;
            }
        for (std::size_t i = 0; i < count; ++i) {
            Element e = ElementFromAddress(stored[i], shortSsid, i == 0);
            if (i > 0) r.path += ',';
            r.path += e.text;
            r.problems.insert(r.problems.end(), e.problems.begin(), e.problems.end());
        }
        r.elements = count;
        readings.push_back(r);
    }
    const DigipeaterAddress emptyElement = {kShiftedBlank, kShiftedBlank, kShiftedBlank, kShiftedBlank,
                                            kShiftedBlank, kShiftedBlank, kNoSsid};
    if (stored[1] == emptyElement) {
        std::vector<PathReading> skipping;
        for (bool shortSsid : {false, true}) {
            Element e = ElementFromAddress(stored[2], shortSsid, false);
            skipping.push_back({"," + e.text, 3, e.problems, shortSsid});
        }
        // A first address no path ever wrote is the clearest sign of a
        // leading ','; otherwise the reading with a first element wins.
        const auto at = stored[0] == BlankWorkingAddresses()[0] ? readings.begin() : readings.end();
        readings.insert(at, skipping.begin(), skipping.end());
    }
    return readings;
}

class Decoder {
public:
    explicit Decoder(const TemplateImage& image) : image_(image) {}

    DecodedSettings Run() {
        for (const BlockEntry& e : kConfigurationBlockLayout) Decode(e);
        NoteWhatDoesNotEncodeBack();
        return std::move(result_);
    }

private:
    const TemplateImage& image_;
    DecodedSettings result_;
    std::array<bool, 2> stationIsLast_{};
    // What the previous configuration's path left in the working addresses.
    WorkingAddresses addresses_ = BlankWorkingAddresses();

    std::uint8_t Low(std::size_t word) const { return LowByteValue(image_, word); }
    ProfileSettings& Profile(const BlockEntry& e) { return result_.settings.profiles[e.profile]; }
    void Note(const BlockEntry& e, std::string text) {
        result_.notes.push_back({e.field, e.profile, std::move(text), false});
    }
    void Remark(const BlockEntry& e, std::string text) {
        result_.notes.push_back({e.field, e.profile, std::move(text), true});
    }

    // Values the window refuses are kept, and said.
    void CheckRange(const BlockEntry& e, int value, const std::string& stored) {
        const SettingsField& field = FindField(e.field, e.profile);
        if (value >= field.lowest && value <= field.highest) return;
        Note(e, "The image holds " + stored + ", outside " + std::to_string(field.lowest) + " to " +
                    std::to_string(field.highest) + ": export refuses this value until it is changed.");
    }

    void Decode(const BlockEntry& e) {
        switch (e.encoding) {
            case BlockEncoding::Callsign: DecodeCallsign(e); break;
            case BlockEncoding::Ssid: DecodeSsid(e); break;
            case BlockEncoding::PathAddresses: DecodePath(e); break;
            case BlockEncoding::TxDelay: {
                const std::uint8_t units = Low(e.firstWord);
                // 35 ms and 34 ms are both 5 units: take the one the
                // settings accept.
                const int ms = TxDelayMsForUnits(units, FindField(e.field, e.profile).lowest);
                SetFieldNumber(result_.settings, FindField(e.field, e.profile), ms);
                CheckRange(e, ms, std::to_string(units) + " units of 6.7 ms (" + std::to_string(ms) + " ms)");
                break;
            }
            case BlockEncoding::Interval: {
                const std::uint8_t units = Low(e.firstWord);
                const int secs = units * 10;
                SetFieldNumber(result_.settings, FindField(e.field, e.profile), secs);
                CheckRange(e, secs, std::to_string(units) + " units of 10 s (" + std::to_string(secs) + " s)");
                break;
            }
            case BlockEncoding::Octet: {
                const int value = Low(e.firstWord);
                SetFieldNumber(result_.settings, FindField(e.field, e.profile), value);
                CheckRange(e, value, std::to_string(value));
                break;
            }
            case BlockEncoding::IconCode: {
                // The template checks let only hex digits into a record.
                const std::size_t at = ImageRecord::LowByteOffset(e.firstWord);
                Profile(e).iconCode = std::string(&image_.text[at], 2);
                break;
            }
            case BlockEncoding::SymbolTable: DecodeSymbolTable(e); break;
            case BlockEncoding::MessageDigit: DecodeMessageDigit(e); break;
            case BlockEncoding::BeaconText: {
                std::string text;
                for (std::size_t k = 0; k < e.wordCount; ++k) {
                    const std::uint8_t octet = Low(e.firstWord + k);
                    if (octet == 0) break;
                    text += static_cast<char>(octet);
                }
                Profile(e).beaconText = text;
                break;
            }
        }
    }

    void DecodeCallsign(const BlockEntry& e) {
        std::string callsign;
        for (std::size_t i = 0; i < 6; ++i) {
            const std::uint8_t octet = Low(e.firstWord + i);
            if (octet == 0xFF) {
                callsign += kHighCharacter;
                Note(e, "C" + Ordinal(i).substr(1) + " was stored as ff, as every character of code 0x80 or above is: "
                        "which one it was cannot be recovered. It is written here as " +
                        Shown(std::string(1, kHighCharacter)) + ", which gives the same image.");
            } else if ((octet & 1) != 0) {
                callsign += '?';
                Note(e, "C" + Ordinal(i).substr(1) + " was stored as " + Hex(octet) +
                            ", which no character gives; it is written here as '?'.");
            } else {
                callsign += static_cast<char>(octet >> 1);
            }
        }
        while (!callsign.empty() && callsign.back() == ' ') callsign.pop_back();
        if (UpperCaseLatin1(callsign) != callsign)
            Note(e, "The image holds small letters, which a settings file's callsign turns into capitals.");
        Profile(e).callsign = callsign;
    }

    void DecodeSsid(const BlockEntry& e) {
        const std::uint8_t octet = Low(e.firstWord);
        stationIsLast_[e.profile] = (octet & kEndOfAddress) != 0;
        const auto base = static_cast<std::uint8_t>(octet & ~kEndOfAddress);
        if (base >= kNoSsid && base <= kSsid15) {
            Profile(e).ssid = static_cast<std::uint8_t>((base - kNoSsid) / 2);
            return;
        }
        Profile(e).ssid = static_cast<std::uint8_t>((base >> 1) & 0x0F);
        Note(e, "The SSID octet " + Hex(octet) + " is not that of an SSID 0 to 15 (60 to 7f); it is read as " +
                    std::to_string(Profile(e).ssid) + ".");
    }

    void DecodePath(const BlockEntry& e) {
        WorkingAddresses stored;
        for (std::size_t i = 0; i < stored.size(); ++i)
            for (std::size_t j = 0; j < 7; ++j) stored[i][j] = Low(e.firstWord + 7 * i + j);

        const std::size_t limit = static_cast<std::size_t>(FindField(FieldId::Path, e.profile).highest);
        std::vector<PathReading> readings;
        if (stationIsLast_[e.profile]) readings.push_back({"", 0, {}, false});
        else readings = PathReadings(stored);

        // The first reading that gives the stored addresses back, preferring
        // one that fits the box and needs no placeholder.
        const PathReading* chosen = nullptr;
        for (const auto& r : readings)
            if (r.problems.empty() && r.path.size() <= limit && PathGives(r.path, addresses_, stored)) {
                chosen = &r;
                break;
            }
        bool givesBack = chosen != nullptr;
        if (!chosen)
            for (const auto& r : readings)
                if (PathGives(r.path, addresses_, stored)) {
                    chosen = &r;
                    givesBack = true;
                    break;
                }
        if (!chosen) chosen = &readings.front();

        Profile(e).path = chosen->path;
        for (const auto& problem : chosen->problems) Note(e, "Which character it was cannot be recovered: " + problem + ".");
        if (!givesBack)
            Note(e, "No path gives exactly the addresses the image holds (" + AddressesText(stored) +
                        "); this is the nearest reading.");
        if (chosen->path.size() > limit)
            Note(e, "The path is longer than the " + std::to_string(limit) +
                        " characters a settings file accepts: export refuses it until it is shortened.");
        if (UpperCaseLatin1(chosen->path) != chosen->path)
            Note(e, "The image holds small letters, which a settings file's path turns into capitals.");
        if (chosen->shortSsids && givesBack)
            Remark(e, "\"-:\" to \"-?\" are SSIDs 10 to 15 in the one character the image stores them as.");
        if (chosen->elements == 3)
            Remark(e, "A path keeps three addresses: any element after the third was not stored.");
        addresses_ = stored;
    }

    static std::string AddressesText(const WorkingAddresses& addresses) {
        std::string text;
        for (const auto& address : addresses)
            for (std::uint8_t octet : address) text += (text.empty() ? "" : " ") + Hex(octet);
        return text;
    }

    void DecodeSymbolTable(const BlockEntry& e) {
        const std::size_t at = ImageRecord::LowByteOffset(e.firstWord);
        const std::string code(&image_.text[at], 2);
        const std::uint8_t value = Low(e.firstWord);
        Profile(e).useAltIconTable = value == 0x5C ? 1 : 0;
        if (code == "2F" || code == "5C") return;
        if (value == 0x2F || value == 0x5C)
            Remark(e, "The symbol table code is stored as " + code + ", in small letters; exported back it is written " +
                        (value == 0x5C ? "5C" : "2F") + ", the same byte.");
        else
            Note(e, "The symbol table code " + code +
                        " is neither 2F (primary table) nor 5C (alternate table); it is read as the primary table.");
    }

    void DecodeMessageDigit(const BlockEntry& e) {
        const char digit = image_.text[ImageRecord::LowByteOffset(e.firstWord)];
        const std::uint8_t bits = HexDigitValue(digit);
        Profile(e).messageCode = 7 - (bits & 7);
        if (bits > 7)
            Note(e, std::string("The message bits are stored as the digit ") + digit +
                        ", which no message gives (0 to 7); it is read as " +
                        std::string(kMessageListEntries[static_cast<std::size_t>(Profile(e).messageCode)]) + ".");
    }

    // A last check over the whole block: written back, do the settings give
    // the same bytes? Anything not explained by a note above gets one.
    void NoteWhatDoesNotEncodeBack() {
        TemplateImage again = image_;
        PatchConfigurationBlock(again, result_.settings);
        for (const BlockEntry& e : kConfigurationBlockLayout) {
            const bool noted = std::any_of(result_.notes.begin(), result_.notes.end(), [&](const DecodeNote& n) {
                return n.field == e.field && n.profile == e.profile && !n.remark;
            });
            if (noted) continue;
            for (std::size_t w = e.firstWord; w < e.firstWord + e.wordCount; ++w) {
                const std::size_t at = ImageRecord::LowByteOffset(w);
                const bool same = e.encoding == BlockEncoding::MessageDigit
                                      ? HexDigitValue(again.text[at]) == HexDigitValue(image_.text[at])
                                      : LowByteValue(again, w) == LowByteValue(image_, w);
                if (same) continue;
                Note(e, "Exported back, this value gives " + Hex(LowByteValue(again, w)) + " at program word " +
                            std::to_string(w) + " where the image holds " + Hex(LowByteValue(image_, w)) + ".");
                break;
            }
        }
    }
};

}  // namespace

std::uint8_t LowByteValue(const TemplateImage& image, std::size_t word) {
    const std::size_t at = ImageRecord::LowByteOffset(word);
    return HexByteAt(image.View(), at);
}

const BlockEntry* FindBlockEntry(std::size_t word) {
    for (const BlockEntry& e : kConfigurationBlockLayout)
        if (word >= e.firstWord && word < e.firstWord + e.wordCount) return &e;
    return nullptr;
}

int TxDelayMsForUnits(std::uint8_t units, int lowest) {
    // One unit is 6.7 ms, so every unit count is reached; stop before the
    // product passes 255 units and the count wraps.
    constexpr int kPast255Units = 1716;
    for (int from : {std::max(lowest, 0), 0})
        for (int ms = from; ms < kPast255Units; ++ms)
            if (TxDelayUnits(ms) == units) return ms;
    return kPast255Units - 1;
}

DecodedSettings DecodeConfigurationBlock(const TemplateImage& image) { return Decoder(image).Run(); }

}  // namespace trovik
