#pragma once

#include <memory>
#include <string>

namespace trovik {

// The modem-control outputs the programming adapter uses.
enum class ModemLine { Dtr, Rts };

// One open serial port, as far as the programming adapter uses it: two
// output lines, one input line and the break state of the transmit line.
// Every operation reports whether it worked; LastError() says why not.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual bool SetLine(ModemLine line, bool raised) = 0;
    virtual bool ReadCts(bool& raised) = 0;
    virtual bool SetBreak(bool on) = 0;
    virtual std::string LastError() const = 0;
};

struct PortOpenResult {
    std::unique_ptr<SerialPort> port;  // null when the port could not be opened
    std::string error;                 // then: what went wrong and what to do
    // What the opened port was set to, e.g. "9600 baud, 8 data bits, no
    // parity, 1 stop bit"; for traces and diagnostics.
    std::string settings;
};

// Opens a port by name for this program alone and sets it to 9600 baud,
// 8 data bits, no parity, keeping every other setting as the port had it.
// Destroying the port closes it.
class PortFactory {
public:
    virtual ~PortFactory() = default;
    virtual PortOpenResult Open(const std::string& name) = 0;
};

// The waits of a programming run: millisecond sleeps and the short pause
// between two line changes. Tests give a virtual clock; a line trace wraps
// it to record both.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void SleepMs(int milliseconds) = 0;
    // A busy wait of at least kShortDelay that never gives up the
    // processor (see programming_link.h). Overridden by virtual clocks.
    virtual void ShortDelay();
};

}  // namespace trovik
