#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "programmer/serial_port.h"
#include "sim/simulated_chip.h"

namespace trovik {

// A line trace: every port operation of a run, one per line, in order:
//   OPEN <name>        SETTINGS <text>     CLOSE
//   SETDTR  CLRDTR  SETRTS  CLRRTS         BREAK ON  BREAK OFF
//   CTS 0 / CTS 1      a status read and the level it returned
//   DELAY              one short pause
//   SLEEP <ms>         one sleep
// '#' begins a comment: a failed operation is followed by "# failed: why".
class LineTrace {
public:
    explicit LineTrace(std::ostream& out) : out_(out) {}
    void Record(std::string_view line) { out_ << line << '\n'; }
    void Comment(std::string_view text) { out_ << "# " << text << '\n'; }

private:
    std::ostream& out_;
};

// Records what passes to the port it wraps; CLOSE when it is destroyed.
class TracingPort : public SerialPort {
public:
    TracingPort(std::unique_ptr<SerialPort> inner, LineTrace& trace) : inner_(std::move(inner)), trace_(trace) {}
    ~TracingPort() override;
    TracingPort(const TracingPort&) = delete;
    TracingPort& operator=(const TracingPort&) = delete;

    bool SetLine(ModemLine line, bool raised) override;
    bool ReadCts(bool& raised) override;
    bool SetBreak(bool on) override;
    std::string LastError() const override { return inner_->LastError(); }

private:
    bool Noted(bool ok);

    std::unique_ptr<SerialPort> inner_;
    LineTrace& trace_;
};

// Records OPEN and SETTINGS and hands out tracing ports.
class TracingPortFactory : public PortFactory {
public:
    TracingPortFactory(PortFactory& inner, LineTrace& trace) : inner_(inner), trace_(trace) {}
    PortOpenResult Open(const std::string& name) override;

private:
    PortFactory& inner_;
    LineTrace& trace_;
};

// Records DELAY and SLEEP and passes them on.
class TracingSleeper : public Sleeper {
public:
    TracingSleeper(Sleeper& inner, LineTrace& trace) : inner_(inner), trace_(trace) {}
    void SleepMs(int milliseconds) override;
    void ShortDelay() override;

private:
    Sleeper& inner_;
    LineTrace& trace_;
};

struct ReplayResult {
    bool ok = true;
    std::string error;  // the first line the chip disagrees with, or a line not understood
};

// Plays a trace's line changes, pauses and sleeps into `chip` on a virtual
// clock starting at 0, and checks every CTS line against the level the chip
// drives at that moment. Shows that a trace is what a chip would have seen.
ReplayResult ReplayLineTrace(std::string_view trace, SimulatedChip& chip);

}  // namespace trovik
