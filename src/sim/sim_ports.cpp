#include "sim/sim_ports.h"

#include <charconv>
#include <string_view>

#include "image/image_words.h"
#include "image/template_image.h"
#include "programmer/word_table.h"

namespace trovik {

namespace {

constexpr std::string_view kPrefix = "sim:";
constexpr const char* kSimulatedSettings = "9600 baud, 8 data bits, no parity, 1 stop bit (simulated)";

std::string OptionsHelp() {
    return "a simulated port is \"sim\" or \"sim:\" followed by options separated by commas: "
           "absent, fail-at=N (N from 0 to 1023), image=FILE, realtime";
}

}  // namespace

SimulatedChip::Time SimulatedPort::Now() const {
    if (clock_) return clock_->Now();
    return std::chrono::steady_clock::now().time_since_epoch();
}

bool IsSimPortName(const std::string& name) {
    return name == "sim" || name.starts_with(kPrefix);
}

SimPortNameResult ParseSimPortName(const std::string& name) {
    if (!IsSimPortName(name)) return {std::nullopt, name + " is not a simulated port: " + OptionsHelp() + "."};
    SimPortOptions options;
    if (name == "sim") return {options, {}};
    std::string_view rest = std::string_view(name).substr(kPrefix.size());
    auto fail = [&](const std::string& what) {
        return SimPortNameResult{std::nullopt, "The port name " + name + " " + what + ": " + OptionsHelp() + "."};
    };
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view option = rest.substr(0, comma);
        if (option == "absent") {
            options.chip.absent = true;
        } else if (option == "realtime") {
            options.realtime = true;
        } else if (option.starts_with("fail-at=")) {
            const std::string_view number = option.substr(8);
            std::size_t word = 0;
            const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), word);
            if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
                word >= SimulatedChip::kProgramWords)
                return fail("has a bad word number in '" + std::string(option) + "'");
            options.chip.failAt = word;
        } else if (option.starts_with("image=") && option.size() > 6) {
            options.imageFile = std::string(option.substr(6));
        } else {
            return fail(option.empty() ? "has an empty option" : "has an unknown option '" + std::string(option) + "'");
        }
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return {options, {}};
}

PortOpenResult SimPortFactory::Open(const std::string& name) {
    if (!IsSimPortName(name)) {
        if (otherPorts_) return otherPorts_->Open(name);
        return {nullptr, "The port " + name + " does not exist here: only simulated ports (\"sim...\") can be opened.", {}};
    }
    SimPortNameResult parsed = ParseSimPortName(name);
    if (!parsed.options) return {nullptr, parsed.error, {}};
    const SimPortOptions& options = *parsed.options;

    std::shared_ptr<SimulatedChip>& chip = chips_[name];
    if (!chip) {
        auto fresh = std::make_shared<SimulatedChip>(options.chip);
        if (!options.imageFile.empty()) {
            FileAccess::ReadResult read = files_.ReadFile(options.imageFile, kTemplateImageSize);
            if (!read.ok) {
                chips_.erase(name);
                return {nullptr,
                        "The simulated port " + name + " cannot read its image " + options.imageFile + ": " +
                            read.reason + ".",
                        {}};
            }
            TemplateReadResult image = TemplateImageFromText(read.bytes, options.imageFile);
            if (!image.image) {
                chips_.erase(name);
                return {nullptr, "The simulated port " + name + " cannot use its image: " + image.error, {}};
            }
            const WordTable words = BuildWordTable(*image.image);
            for (std::size_t i = 0; i < words.size(); ++i) fresh->SetProgramWord(i, words[i]);
            // A chip programmed from this image holds its configuration word too.
            if (const auto configuration = ImageConfigurationWord(*image.image))
                fresh->SetConfigurationWord(*configuration);
        }
        chip = std::move(fresh);
    }
    return {std::make_unique<SimulatedPort>(chip, options.realtime ? nullptr : &clock_), {}, kSimulatedSettings};
}

Sleeper& SimPortFactory::SleeperFor(const std::string& name, Sleeper& real) {
    if (!IsSimPortName(name)) return real;
    const SimPortNameResult parsed = ParseSimPortName(name);
    return parsed.options && parsed.options->realtime ? real : clock_;
}

std::shared_ptr<SimulatedChip> SimPortFactory::Chip(const std::string& name) const {
    const auto found = chips_.find(name);
    return found == chips_.end() ? nullptr : found->second;
}

}  // namespace trovik
