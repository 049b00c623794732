#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/serial_ports.h"

namespace trovik {

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

// Retries a call that a signal (Ctrl-C's handler) cut short.
template <typename Call>
int Retry(Call call) {
    int result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

class PosixSerialPort : public SerialPort {
public:
    explicit PosixSerialPort(int fd) : fd_(fd) {}
    ~PosixSerialPort() override {
        ::ioctl(fd_, TIOCNXCL);  // others may open it again, even if they held it open meanwhile
        ::close(fd_);
    }
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    bool SetLine(ModemLine line, bool raised) override {
        int bits = line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
        return Check(Retry([&] { return ::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &bits); }));
    }
    bool ReadCts(bool& raised) override {
        int status = 0;
        if (!Check(Retry([&] { return ::ioctl(fd_, TIOCMGET, &status); }))) return false;
        raised = (status & TIOCM_CTS) != 0;
        return true;
    }
    bool SetBreak(bool on) override {
        return Check(Retry([&] { return ::ioctl(fd_, on ? TIOCSBRK : TIOCCBRK); }));
    }
    std::string LastError() const override { return lastError_; }

private:
    bool Check(int result) {
        if (result != -1) return true;
        lastError_ = ErrnoText(errno);
        return false;
    }

    int fd_;
    std::string lastError_;
};

}  // namespace

PortOpenFailure PortOpenFailureFromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENXIO:
        case ENODEV:
            return PortOpenFailure::NoSuchPort;
        case EACCES:
        case EPERM:
            return PortOpenFailure::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:
            return PortOpenFailure::Busy;
        case ENOTTY:
            return PortOpenFailure::NotASerialPort;
        default:
            return PortOpenFailure::Other;
    }
}

std::string DevicePathForPortName(const std::string& name) {
    if (name.size() == 4 && name.starts_with("COM") && name[3] >= '1' && name[3] <= '8')
        return "/dev/ttyS" + std::string(1, static_cast<char>(name[3] - 1));
    return name;
}

PortOpenResult SystemPortFactory::Open(const std::string& name) {
    const std::string device = DevicePathForPortName(name);
    auto failed = [&](int error, const std::string& doing) {
        const PortOpenFailure failure = PortOpenFailureFromErrno(error);
        return PortOpenResult{nullptr, DescribePortOpenFailure(name, device, failure, doing + ErrnoText(error)), {}};
    };

    // Non-blocking, so a port without carrier does not hang the open.
    const int fd = Retry([&] { return ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
    if (fd == -1) return failed(errno, "");
    auto port = std::make_unique<PosixSerialPort>(fd);
    if (!::isatty(fd)) return failed(ENOTTY, "");
    // For this program alone: the lock turns away any program that locks
    // the port the same way, TIOCEXCL any later open but root's.
    if (::flock(fd, LOCK_EX | LOCK_NB) == -1) return failed(errno, "cannot lock it: ");
    if (::ioctl(fd, TIOCEXCL) == -1) return failed(errno, "cannot have it alone: ");

    termios settings{};
    if (::tcgetattr(fd, &settings) == -1) return failed(errno, "cannot read its settings: ");
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    settings.c_cflag = (settings.c_cflag & ~static_cast<tcflag_t>(CSIZE | PARENB | CRTSCTS)) | CS8;
    settings.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXOFF);
    if (Retry([&] { return ::tcsetattr(fd, TCSANOW, &settings); }) == -1)
        return failed(errno, "cannot set 9600 baud, 8 data bits, no parity: ");

    const bool twoStopBits = (settings.c_cflag & CSTOPB) != 0;
    return {std::move(port), {},
            std::string("9600 baud, 8 data bits, no parity, ") + (twoStopBits ? "2 stop bits" : "1 stop bit")};
}

}  // namespace trovik
