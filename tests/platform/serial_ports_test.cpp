#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <pty.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/serial_ports.h"
#include "platform/timing.h"

namespace trovik {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A pseudo-terminal stands in for a serial port: it keeps termios settings
// like one, though it has no modem lines.
class PseudoTerminal {
public:
    PseudoTerminal() {
        EXPECT_EQ(::openpty(&master_, &slave_, name_, nullptr, nullptr), 0);
    }
    ~PseudoTerminal() {
        ::close(slave_);
        ::close(master_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    std::string Name() const { return name_; }
    termios Settings() const {
        termios t{};
        EXPECT_EQ(::tcgetattr(slave_, &t), 0);
        return t;
    }
    void Set(const termios& t) const { EXPECT_EQ(::tcsetattr(slave_, TCSANOW, &t), 0); }

private:
    int master_ = -1;
    int slave_ = -1;
    char name_[128] = {};
};

TEST(SerialPorts, ComNamesMapToTtySAndOtherNamesAreDevices) {
    struct Case {
        const char* name;
        const char* device;
    };
    for (const Case& c : {Case{"COM1", "/dev/ttyS0"}, Case{"COM8", "/dev/ttyS7"}, Case{"COM9", "COM9"},
                          Case{"COM0", "COM0"}, Case{"com1", "com1"}, Case{"/dev/ttyUSB0", "/dev/ttyUSB0"}})
        EXPECT_EQ(DevicePathForPortName(c.name), c.device) << c.name;
}

TEST(SerialPorts, OpeningSetsNinetySixHundredEightNoneAndKeepsTheRest) {
    PseudoTerminal pty;
    termios before = pty.Settings();
    ::cfsetispeed(&before, B19200);
    ::cfsetospeed(&before, B19200);
    before.c_cflag = (before.c_cflag & ~CSIZE) | CS7 | PARENB | PARODD | CSTOPB | CRTSCTS;
    before.c_iflag |= INPCK | IXOFF | IXON;
    before.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    pty.Set(before);

    SystemPortFactory ports;
    PortOpenResult opened = ports.Open(pty.Name());
    ASSERT_TRUE(opened.port) << opened.error;
    EXPECT_EQ(opened.settings, "9600 baud, 8 data bits, no parity, 2 stop bits");

    const termios after = pty.Settings();
    EXPECT_EQ(::cfgetospeed(&after), B9600);
    EXPECT_EQ(::cfgetispeed(&after), B9600);
    EXPECT_EQ(after.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(after.c_cflag & (PARENB | CRTSCTS), 0u);
    EXPECT_EQ(after.c_iflag & (INPCK | IXOFF), 0u);
    EXPECT_NE(after.c_cflag & CSTOPB, 0u);  // stop bits kept
    EXPECT_NE(after.c_iflag & IXON, 0u);    // XON/XOFF on output kept
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_EQ(after.c_oflag, before.c_oflag);

    // The port is this program's alone while it is open.
    const PortOpenResult second = ports.Open(pty.Name());
    EXPECT_FALSE(second.port);
    EXPECT_TRUE(Contains(second.error, "is busy: another program holds it")) << second.error;
    opened.port.reset();
    EXPECT_TRUE(ports.Open(pty.Name()).port);
}

TEST(SerialPorts, AFailingLineOperationSaysWhy) {
    PseudoTerminal pty;  // no modem lines: every line operation fails
    SystemPortFactory ports;
    PortOpenResult opened = ports.Open(pty.Name());
    ASSERT_TRUE(opened.port) << opened.error;
    bool cts = false;
    EXPECT_FALSE(opened.port->SetLine(ModemLine::Dtr, true));
    EXPECT_EQ(opened.port->LastError(), std::strerror(ENOTTY));
    EXPECT_FALSE(opened.port->ReadCts(cts));
}

TEST(SerialPorts, OpenFailuresNameThePortTheReasonAndWhatToDo) {
    SystemPortFactory ports;
    PortOpenResult missing = ports.Open("/nonexistent/ttyUSB7");
    EXPECT_FALSE(missing.port);
    EXPECT_EQ(missing.error,
              "The port /nonexistent/ttyUSB7 does not exist. Check the port's name and that the adapter is plugged in.");

    const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "not-a-port";
    std::ofstream(file) << "x";
    EXPECT_TRUE(Contains(ports.Open(file.string()).error, "is not a serial port"));
    std::filesystem::remove(file);

    struct Case {
        int error;
        const char* says;
    };
    for (const Case& c : {Case{ENOENT, "does not exist"},
                          Case{EACCES, "cannot be opened: permission denied. Add your user to the dialout group"},
                          Case{EBUSY, "is busy: another program holds it"},
                          Case{EWOULDBLOCK, "is busy"},
                          Case{EIO, "cannot be opened: Input/output error."}}) {
        const std::string message =
            DescribePortOpenFailure("COM1", "/dev/ttyS0", PortOpenFailureFromErrno(c.error), std::strerror(c.error));
        EXPECT_TRUE(Contains(message, std::string("The port COM1 (/dev/ttyS0) ") + c.says)) << message;
    }
}

TEST(SystemSleeper, KeepsTheTimerSlackMinimalWhileItLives) {
    const int before = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    {
        SystemSleeper sleeper;
        EXPECT_EQ(::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), 1);
        sleeper.SleepMs(0);
    }
    EXPECT_EQ(::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), before);
}

}  // namespace
}  // namespace trovik
