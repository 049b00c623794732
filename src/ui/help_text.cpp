#include "ui/help_text.h"

#include "image/hex_export.h"
#include "image/template_image.h"
#include "settings/settings_fields.h"

namespace {

using trovik::FieldId;

struct HelpLine {
    FieldId id;
    const char* label;      // as the window shows it
    const char* windowText;  // the window's own words where the settings file's do not fit
};

// The boxes in the window's order.
constexpr HelpLine kConfigurationLines[] = {
    {FieldId::Callsign, "Callsign", nullptr},
    {FieldId::Ssid, "SSID", nullptr},
    {FieldId::Path, "Path", nullptr},
    {FieldId::IconCode, "Icon Number", nullptr},
    {FieldId::UseAltIconTable, "Use Alt Icon Table", "Checked: take the symbol from the alternate symbol table"},
    {FieldId::AutoIntervalSecs, "Delay Between Auto Transmissions", nullptr},
    {FieldId::ManualIntervalSecs, "Delay Between Manual Transmissions", nullptr},
    {FieldId::QuietTimeSecs, "Quiet Time", nullptr},
    {FieldId::SlowSpeedFactor, "Slow Speed Factor", nullptr},
    {FieldId::BeaconText, "Beacon Text", nullptr},
    {FieldId::BeaconEvery, "Beacon Every ... Transmissions", nullptr},
    {FieldId::MessageCode, "Message Bits", "The Mic-E message the tracker sends"},
};

constexpr HelpLine kSharedLines[] = {
    {FieldId::AutoTxDelayMs, "Auto TXDelay (ms.)", nullptr},
    {FieldId::ManualTxDelayMs, "Manual TXDelay (ms.)", nullptr},
};

void AddLines(std::string& text, const HelpLine* begin, const HelpLine* end) {
    for (const HelpLine* line = begin; line != end; ++line) {
        text += "  ";
        text += line->label;
        text += ": ";
        text += line->windowText != nullptr ? std::string(line->windowText)
                                          : std::string(trovik::FieldDescription(line->id));
        text += ".\n";
    }
}

}  // namespace

std::string ConfigHelpText(const std::string& folder, const std::string& portSummary) {
    const std::string templateName = trovik::kTemplateFileName;
    const std::string outputName = trovik::kOutputFileName;
    std::string text =
        "Trovik writes the settings of an APRS tracker into its PIC16 firmware.\n"
        "\n"
        "The window holds two configurations. The radio buttons \"Configuration 1\" and\n"
        "\"Configuration 2\" choose which one you see; both always go into the firmware.\n"
        "Every start begins with the defaults; nothing is saved.\n"
        "\n"
        "Files\n"
        "  Template: " + templateName + " in " + folder + ", read by both buttons.\n"
        "  Output: \"Create Hex File\" writes " + outputName + " in the same folder,\n"
        "  replacing an earlier one. \"Program PIC\" writes nothing to disk.\n"
        "\n"
        "Buttons and keys\n"
        "  Program PIC (Enter): programs and verifies the chip through the port chosen\n"
        "  under \"Com Port\", then programs its configuration word.\n"
        "  Create Hex File: writes the patched firmware to " + outputName + ".\n"
        "  Quit (Escape, Alt+F4): ends the program.\n"
        "  F1: this help. Right click on the window's background, or Alt+Space, opens\n"
        "  the menu with \"About Trovik...\".\n"
        "  Both buttons first check every box of both configurations and stop at the\n"
        "  first wrong one; a box of the hidden configuration takes the focus when you\n"
        "  show that configuration.\n"
        "\n"
        "Each configuration\n";
    AddLines(text, std::begin(kConfigurationLines), std::end(kConfigurationLines));
    text += "\nShared by both configurations\n";
    AddLines(text, std::begin(kSharedLines), std::end(kSharedLines));
    text += "  Com Port: the serial port of the programming adapter. " + portSummary + "\n";
    return text;
}
