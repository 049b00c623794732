#include "cli/read_command.h"

#include <cstdio>
#include <ostream>

#include <CLI/CLI.hpp>

#include "cli/chip_session.h"
#include "image/image_words.h"
#include "programmer/chip_reader.h"

namespace trovik::cli {
CLI::App* ReadCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand(
        "read", "Read what the chip holds into an image file, writing nothing to the chip");
    command->add_option("--port", port_, kPortOptionHelp)->type_name("NAME")->required();
    outputPath_ = kReadFileName;
    command->add_option("--output", outputPath_, "Where to write the image")->type_name("FILE")->capture_default_str();
    command->add_option("--trace", tracePath_, "Write every port operation to FILE, one per line")->type_name("FILE");
    command->footer(
        "Reads program words 0 to 1023, the device ID and the configuration word, and\n"
        "writes an Intel HEX image in the template's geometry: a backup, something to\n"
        "decode, or a template. An earlier file of that name is replaced only once the\n"
        "whole chip has been read and a chip answered.\n"
        "Exit codes: 0 read; 2 bad usage; 3 port or file problem; 4 no chip answered\n"
        "(every bit read 0, or 1 throughout); 130 interrupted.");
    return command;
}

int ReadCommand::Run(CliContext& context) {
    const WholeChipRead read = ReadWholeChip(context, port_, tracePath_, "read", override_, stopRequested_);
    const ChipReadOutcome& outcome = read.outcome;
    const bool traced = read.traced;

    switch (outcome.status) {
        case ReadStatus::PortError: ReportError(context, outcome.message); return kExitFile;
        case ReadStatus::Interrupted: ReportError(context, outcome.message + " Nothing was saved."); return kExitInterrupted;
        case ReadStatus::Read: break;
    }
    switch (JudgePresence(outcome.contents)) {
        case ChipPresence::NoChip:
            ReportError(context, "No chip answered on " + port_ +
                                     ": every bit read 0. Check that the tracker's chip sits in the adapter and the "
                                     "adapter is connected. Nothing was saved.");
            return kExitVerify;
        case ChipPresence::LineHigh:
            ReportError(context, "No chip answered on " + port_ +
                                     ": every bit read 1, the device ID too. The adapter may be unpowered or wired "
                                     "otherwise. Nothing was saved.");
            return kExitVerify;
        case ChipPresence::Answers: break;
    }
    const TemplateImage image = ImageFromWords(outcome.contents.words, outcome.contents.configurationWord);
    if (auto failure = context.files.ReplaceFile(outputPath_, image.View())) {
        ReportError(context, "The image could not be saved as " + outputPath_ + ": " + *failure + ". Any earlier " +
                                 outputPath_ + " is unchanged.");
        return kExitFile;
    }
    context.out << "Read " << kProgramWordCount << " words and the configuration word "
                << HexWord(outcome.contents.configurationWord) << " (device ID " << HexWord(outcome.contents.deviceId)
                << ") from " << port_ << "; image saved as " << outputPath_ << ".\n";
    return traced ? kExitOk : kExitFile;
}

}  // namespace trovik::cli
