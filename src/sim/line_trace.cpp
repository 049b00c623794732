#include "sim/line_trace.h"

#include <charconv>

#include "sim/virtual_clock.h"

namespace trovik {

TracingPort::~TracingPort() {
    inner_.reset();
    trace_.Record("CLOSE");
}

bool TracingPort::Noted(bool ok) {
    if (!ok) trace_.Comment("failed: " + inner_->LastError());
    return ok;
}

bool TracingPort::SetLine(ModemLine line, bool raised) {
    static constexpr std::string_view kNames[2][2] = {{"CLRDTR", "SETDTR"}, {"CLRRTS", "SETRTS"}};
    trace_.Record(kNames[line == ModemLine::Dtr ? 0 : 1][raised ? 1 : 0]);
    return Noted(inner_->SetLine(line, raised));
}

bool TracingPort::ReadCts(bool& raised) {
    const bool ok = inner_->ReadCts(raised);
    if (!ok) {
        trace_.Record("# CTS read failed: " + inner_->LastError());
        return false;
    }
    trace_.Record(raised ? "CTS 1" : "CTS 0");
    return true;
}

bool TracingPort::SetBreak(bool on) {
    trace_.Record(on ? "BREAK ON" : "BREAK OFF");
    return Noted(inner_->SetBreak(on));
}

PortOpenResult TracingPortFactory::Open(const std::string& name) {
    trace_.Record("OPEN " + name);
    PortOpenResult opened = inner_.Open(name);
    if (!opened.port) {
        trace_.Comment("open failed: " + opened.error);
        return opened;
    }
    trace_.Record("SETTINGS " + opened.settings);
    opened.port = std::make_unique<TracingPort>(std::move(opened.port), trace_);
    return opened;
}

void TracingSleeper::SleepMs(int milliseconds) {
    trace_.Record("SLEEP " + std::to_string(milliseconds));
    inner_.SleepMs(milliseconds);
}

void TracingSleeper::ShortDelay() {
    trace_.Record("DELAY");
    inner_.ShortDelay();
}

ReplayResult ReplayLineTrace(std::string_view trace, SimulatedChip& chip) {
    VirtualClock clock;
    std::size_t lineNumber = 0;
    while (!trace.empty()) {
        const std::size_t end = trace.find('\n');
        const std::string_view line = trace.substr(0, end);
        trace.remove_prefix(end == std::string_view::npos ? trace.size() : end + 1);
        ++lineNumber;
        auto fail = [&](const std::string& why) {
            return ReplayResult{false, "line " + std::to_string(lineNumber) + " (" + std::string(line) + "): " + why};
        };
        if (line.empty() || line.starts_with('#') || line.starts_with("OPEN ") ||
            line.starts_with("SETTINGS ") || line == "CLOSE")
            continue;
        if (line == "SETDTR" || line == "CLRDTR")
            chip.SetDtr(line == "SETDTR", clock.Now());
        else if (line == "SETRTS" || line == "CLRRTS")
            chip.SetRts(line == "SETRTS", clock.Now());
        else if (line == "BREAK ON" || line == "BREAK OFF")
            chip.SetBreak(line == "BREAK ON", clock.Now());
        else if (line == "DELAY")
            clock.ShortDelay();
        else if (line == "CTS 0" || line == "CTS 1") {
            if (chip.Cts() != (line == "CTS 1"))
                return fail(std::string("the chip drives CTS ") + (chip.Cts() ? "1" : "0"));
        } else if (line.starts_with("SLEEP ")) {
            const std::string_view number = line.substr(6);
            int ms = 0;
            const auto [last, error] = std::from_chars(number.data(), number.data() + number.size(), ms);
            if (error != std::errc() || last != number.data() + number.size() || ms < 0)
                return fail("not a sleep in milliseconds");
            clock.SleepMs(ms);
        } else {
            return fail("not a line operation");
        }
    }
    return {};
}

}  // namespace trovik
