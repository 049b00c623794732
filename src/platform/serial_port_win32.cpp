#include <memory>

#include <windows.h>

#include "platform/serial_ports.h"

namespace trovik {

namespace {

std::string SystemMessage(DWORD error) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(error);
    if (text) ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

class Win32SerialPort : public SerialPort {
public:
    explicit Win32SerialPort(HANDLE handle) : handle_(handle) {}
    ~Win32SerialPort() override { ::CloseHandle(handle_); }
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    bool SetLine(ModemLine line, bool raised) override {
        const DWORD function = line == ModemLine::Dtr ? (raised ? SETDTR : CLRDTR) : (raised ? SETRTS : CLRRTS);
        return Check(::EscapeCommFunction(handle_, function));
    }
    bool ReadCts(bool& raised) override {
        DWORD status = 0;
        if (!Check(::GetCommModemStatus(handle_, &status))) return false;
        raised = (status & MS_CTS_ON) != 0;
        return true;
    }
    bool SetBreak(bool on) override { return Check(on ? ::SetCommBreak(handle_) : ::ClearCommBreak(handle_)); }
    std::string LastError() const override { return lastError_; }

private:
    bool Check(BOOL ok) {
        if (ok) return true;
        lastError_ = SystemMessage(::GetLastError());
        return false;
    }

    HANDLE handle_;
    std::string lastError_;
};

}  // namespace

std::string DevicePathForPortName(const std::string& name) {
    // The device namespace reaches COM10 and above too.
    return name.starts_with("\\\\") ? name : "\\\\.\\" + name;
}

PortOpenResult SystemPortFactory::Open(const std::string& name) {
    const std::string device = DevicePathForPortName(name);
    HANDLE handle = ::CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        PortOpenFailure failure = PortOpenFailure::Other;
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) failure = PortOpenFailure::NoSuchPort;
        // A port another program has open answers "access denied".
        if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) failure = PortOpenFailure::Busy;
        return {nullptr, DescribePortOpenFailure(name, name, failure, SystemMessage(error)), {}};
    }
    auto port = std::make_unique<Win32SerialPort>(handle);

    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!::GetCommState(handle, &settings))
        return {nullptr, DescribePortOpenFailure(name, name, PortOpenFailure::NotASerialPort, {}), {}};
    settings.BaudRate = CBR_9600;
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.fParity = FALSE;
    settings.fOutxCtsFlow = FALSE;
    settings.fInX = FALSE;
    if (!::SetCommState(handle, &settings))
        return {nullptr,
                DescribePortOpenFailure(name, name, PortOpenFailure::Other,
                                        "it does not take 9600 baud, 8 data bits, no parity (" +
                                            SystemMessage(::GetLastError()) + ")"),
                {}};
    const char* stopBits = settings.StopBits == TWOSTOPBITS    ? "2 stop bits"
                           : settings.StopBits == ONE5STOPBITS ? "1.5 stop bits"
                                                               : "1 stop bit";
    return {std::move(port), {}, std::string("9600 baud, 8 data bits, no parity, ") + stopBits};
}

}  // namespace trovik
