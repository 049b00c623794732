#include "cli/verify_command.h"

#include <cstdio>
#include <ostream>
#include <set>

#include <CLI/CLI.hpp>

#include "cli/chip_session.h"
#include "image/configuration_decode.h"
#include "image/hex_export.h"
#include "image/image_words.h"
#include "programmer/chip_reader.h"
#include "programmer/programming_run.h"
#include "programmer/word_table.h"

namespace trovik::cli {
namespace {

// Enough to see what is wrong; the settings line names every setting.
constexpr std::size_t kListedDifferences = 40;


// The setting a differing program word belongs to, or what else it is.
// Only the low byte of a block word holds a setting (the first digit of
// it, for the message bits).
std::string WhatTheWordHolds(const WordDifference& d, const SettingsField** setting) {
    *setting = nullptr;
    if (d.configurationWord) return {};
    if (d.address < kBlockFirstWord || d.address > kBlockLastWord) return "";
    const BlockEntry* entry = FindBlockEntry(d.address);
    if (!entry) return "(the unused word between the beacon texts)";
    const unsigned settingBits = entry->encoding == BlockEncoding::MessageDigit ? 0xF0u : 0xFFu;
    if (((d.expected ^ d.read) & settingBits) == 0) return "(high byte, not part of a setting)";
    *setting = &FindField(entry->field, entry->profile);
    return QualifiedKey(**setting);
}

}  // namespace

CLI::App* VerifyCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "verify", "Compare the chip with the image 'program' would write, writing nothing to the chip");
    settings_.AddTo(*command);
    command
        ->add_option("--port", port_, std::string(kPortOptionHelp) + ". Default: the port comPortIndex selects")
        ->type_name("NAME");
    command->add_option("--trace", tracePath_, "Write every port operation to FILE, one per line")->type_name("FILE");
    command->footer(
        "Builds the image exactly as 'program' does and reads every program word and the\n"
        "configuration word back; lists the words that differ (address, expected, read)\n"
        "and the settings they belong to.\n"
        "Exit codes: 0 the chip holds the image; 2 bad usage or settings; 3 template or\n"
        "port problem; 4 the chip does not hold the image (or no chip answered);\n"
        "130 interrupted.");
    return command;
}

int VerifyCommand::Run(CliContext& context) {
    const auto settings = settings_.Load(context);
    if (!settings) return kExitUsage;
    const std::string portName = ChosenPort(context, port_, settings->comPortIndex);
    if (portName.empty()) return kExitUsage;
    const ImageResult built = BuildImageFromTemplate(context.files, *settings, settings_.templatePath);
    if (!built.image) {
        ReportError(context, built.error + " Nothing was read.");
        return kExitFile;
    }
    const WordTable expected = BuildWordTable(*built.image);

    const WholeChipRead read = ReadWholeChip(context, portName, tracePath_, "verify", override_, stopRequested_);
    const ChipReadOutcome& outcome = read.outcome;
    const bool traced = read.traced;
    switch (outcome.status) {
        case ReadStatus::PortError: ReportError(context, outcome.message); return kExitFile;
        case ReadStatus::Interrupted: ReportError(context, outcome.message); return kExitInterrupted;
        case ReadStatus::Read: break;
    }

    const std::vector<WordDifference> differences = CompareChip(expected, kConfigurationWord, outcome.contents);
    if (differences.empty()) {
        context.out << "The chip on " << portName << " holds the image: all " << kProgramWordCount
                    << " words and the configuration word match.\n";
        return traced ? kExitOk : kExitFile;
    }

    std::size_t words = 0;
    for (const auto& d : differences) words += d.configurationWord ? 0 : 1;
    context.out << "The chip on " << portName << " does not hold the image: ";
    if (words > 0) context.out << words << (words == 1 ? " word differs" : " words differ");
    if (differences.back().configurationWord) context.out << (words > 0 ? " and " : "") << "the configuration word differs";
    context.out << ".\n";

    std::vector<const SettingsField*> settingsThatDiffer;
    std::set<const SettingsField*> seen;
    std::size_t listed = 0;
    for (const auto& d : differences) {
        const SettingsField* setting = nullptr;
        const std::string holds = WhatTheWordHolds(d, &setting);
        if (setting && seen.insert(setting).second) settingsThatDiffer.push_back(setting);
        if (listed == kListedDifferences) continue;
        ++listed;
        context.out << "  " << (d.configurationWord ? "configuration word" : "word " + std::to_string(d.address)) << " ("
                    << HexWord(static_cast<unsigned>(d.address)) << "): expected " << HexWord(d.expected) << ", read "
                    << HexWord(d.read) << (holds.empty() ? "" : "  " + holds) << "\n";
    }
    if (differences.size() > listed) context.out << "  ... and " << differences.size() - listed << " more\n";
    if (!settingsThatDiffer.empty()) {
        context.out << "Settings that differ:";
        for (const SettingsField* field : settingsThatDiffer) context.out << ' ' << QualifiedKey(*field);
        context.out << "\n";
    }
    switch (JudgePresence(outcome.contents)) {
        case ChipPresence::NoChip:
            context.out << "Every bit read 0: no chip answered. Check that the chip sits in the adapter.\n";
            break;
        case ChipPresence::LineHigh:
            context.out << "Every bit read 1: no chip answered. The adapter may be unpowered or wired otherwise.\n";
            break;
        case ChipPresence::Answers: break;
    }
    return kExitVerify;
}

}  // namespace trovik::cli
