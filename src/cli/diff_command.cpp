#include "cli/diff_command.h"

#include <cstdio>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/image_file.h"
#include "cli/settings_file.h"
#include "image/configuration_decode.h"
#include "image/image_words.h"

namespace trovik::cli {
namespace {

// One side of the comparison.
struct Side {
    std::string label;  // "A" or "B"
    std::string path;
    std::optional<TemplateImage> image;
    TrackerSettings settings;  // decoded from the image, or as the file gives them
    std::vector<DecodeNote> notes;
};

// What the tool's own settings (port, shown configuration) are: kept out
// of a comparison with an image, which does not store them.
bool StoredInImage(const SettingsField& field) {
    return field.id != FieldId::ShownProfile && field.id != FieldId::ComPortIndex;
}

// Settings as an image would hold them: encoded and read back, so that
// 300 ms and 295 ms (both 44 units), or a fourth path element, compare as
// the tracker would see them. The image is blank so beacon texts end where
// they end.
TrackerSettings AsStored(const TrackerSettings& settings) {
    const TemplateImage blank = ImageFromWords(ProgramWords{}, 0);
    return DecodeConfigurationBlock(BuildPatchedImage(blank, settings)).settings;
}

std::string WordText(std::optional<std::uint16_t> word) {
    if (!word) return "none";
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", *word);
    return buffer;
}

bool IsBlockWord(std::size_t word) { return word >= kBlockFirstWord && word <= kBlockLastWord; }

}  // namespace

CLI::App* DiffCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "diff", "Show the settings in which two images or settings files differ");
    command->add_option("A", pathA_, "Image (Intel HEX in the template's geometry) or settings file (TOML)")
        ->type_name("FILE")
        ->required();
    command->add_option("B", pathB_, "Image or settings file")->type_name("FILE")->required();
    command->footer(
        "An image is told from a settings file by its content. Settings compare as an\n"
        "image stores them when either side is an image. For two images, the program\n"
        "words outside the configuration block (0-8 and 184-1023) and the configuration\n"
        "word are compared too: words that differ there mean another firmware.\n"
        "Exit codes: 0 the two are the same; 1 they differ; 2 bad usage or a settings\n"
        "file with a bad value; 3 a file cannot be read or is a damaged image.");
    return command;
}

int DiffCommand::Run(CliContext& context) {
    Side sides[2] = {{"A", pathA_, std::nullopt, {}, {}}, {"B", pathB_, std::nullopt, {}, {}}};
    for (Side& side : sides) {
        auto read = context.files.ReadFile(side.path, kMaxInputFileBytes);
        if (!read.ok) {
            ReportError(context, "cannot read " + side.path + ": " + read.reason + ".");
            return kExitFile;
        }
        if (LooksLikeImage(read.bytes)) {
            ImageFileResult image = ImageFromFileBytes(read.bytes, side.path);
            if (!image.image) {
                ReportError(context, image.error);
                return kExitFile;
            }
            side.image = image.image;
            DecodedSettings decoded = DecodeConfigurationBlock(*side.image);
            side.settings = decoded.settings;
            side.notes = std::move(decoded.notes);
        } else {
            SettingsLoadResult loaded = LoadSettings(read.bytes, side.path, {});
            if (!loaded.settings) {
                ReportError(context, loaded.error);
                return kExitUsage;
            }
            side.settings = *loaded.settings;
        }
    }
    Side& a = sides[0];
    Side& b = sides[1];
    const bool anyImage = a.image || b.image;
    const TrackerSettings comparedA = anyImage && !a.image ? AsStored(a.settings) : a.settings;
    const TrackerSettings comparedB = anyImage && !b.image ? AsStored(b.settings) : b.settings;

    auto kind = [](const Side& s) { return s.image ? "image" : "settings file"; };
    context.out << "A: " << a.path << " (" << kind(a) << ")\nB: " << b.path << " (" << kind(b) << ")\n";
    for (const Side& side : sides)
        for (const DecodeNote& note : side.notes)
            if (!note.remark)
                ReportError(context, "note: " + side.label + " " + QualifiedKey(FindField(note.field, note.profile)) +
                                         ": " + note.text);

    bool differ = false;
    std::vector<const SettingsField*> differing;
    int shownProfile = -2;
    for (const SettingsField* field : SettingsFileOrder()) {
        if (anyImage && !StoredInImage(*field)) continue;
        if (SettingsValueText(comparedA, *field) == SettingsValueText(comparedB, *field)) continue;
        differing.push_back(field);
        if (field->profile != shownProfile) {
            shownProfile = field->profile;
            context.out << (shownProfile < 0 ? std::string("Shared settings")
                                             : "Configuration " + std::to_string(shownProfile + 1))
                        << ":\n";
        }
        // A settings file's own value is shown, as its user wrote it.
        context.out << "  " << field->key << ": A " << SettingsValueText(a.settings, *field) << ", B "
                    << SettingsValueText(b.settings, *field) << "\n";
        differ = true;
    }

    if (a.image && b.image) {
        std::size_t outside = 0, outsideTotal = 0, unexplained = 0;
        for (std::size_t w = 0; w < kProgramWordCount; ++w) {
            const bool same = ImageProgramWord(*a.image, w) == ImageProgramWord(*b.image, w);
            if (!IsBlockWord(w)) {
                ++outsideTotal;
                if (!same) ++outside;
                continue;
            }
            if (same) continue;
            const BlockEntry* entry = FindBlockEntry(w);
            bool explained = false;
            for (const SettingsField* field : differing) {
                if (!entry || field->id != entry->field) continue;
                // Configuration 2's path starts from what Configuration 1's
                // left in the working addresses.
                if (field->profile == entry->profile || field->profile < 0 ||
                    (entry->field == FieldId::Path && field->profile == 0))
                    explained = true;
            }
            // A changed high byte is not part of any setting.
            if (explained && (ImageProgramWord(*a.image, w) >> 8) != (ImageProgramWord(*b.image, w) >> 8))
                explained = false;
            if (!explained) ++unexplained;
        }
        if (unexplained > 0) {
            context.out << unexplained << (unexplained == 1 ? " word" : " words")
                        << " of the configuration block " << (unexplained == 1 ? "differs" : "differ")
                        << " without changing a setting "
                           "(high bytes, word 133, bytes after a beacon text's end or unused addresses).\n";
            differ = true;
        }
        context.out << "Program words outside the configuration block that differ: " << outside << " of "
                    << outsideTotal << (outside == 0 ? " (the same firmware)" : " (another firmware)") << ".\n";
        const auto wordA = ImageConfigurationWord(*a.image);
        const auto wordB = ImageConfigurationWord(*b.image);
        if (wordA != wordB) {
            context.out << "Configuration word: A " << WordText(wordA) << ", B " << WordText(wordB) << ".\n";
            differ = true;
        }
        if (outside > 0) differ = true;
    }
    if (!differ) context.out << "No differences.\n";
    return differ ? kExitDiffer : kExitOk;
}

}  // namespace trovik::cli
