#pragma once

#include <string>

#include "programmer/serial_port.h"

namespace trovik {

// The machine's serial ports. "COM1" to "COM8" are the window's names; on
// POSIX systems they open /dev/ttyS0 to /dev/ttyS7 and any other name is a
// device path (/dev/ttyUSB0). A port is opened for this program alone and
// never becomes the controlling terminal; it is set to 9600 baud, 8 data
// bits and no parity, and its stop bits, DTR/RTS modes and the rest stay
// as they were. Hardware flow control and XON/XOFF on input are switched
// off: both would drive the lines the chip needs.
class SystemPortFactory : public PortFactory {
public:
    PortOpenResult Open(const std::string& name) override;
};

// The device a port name opens: "COM1" to "COM8" map to /dev/ttyS0 to
// /dev/ttyS7 on POSIX systems, to \\.\COM1 and so on on Windows; any other
// name is used as it is.
std::string DevicePathForPortName(const std::string& name);

// Why a port could not be opened, as far as the user can do something
// about it.
enum class PortOpenFailure {
    NoSuchPort,
    PermissionDenied,
    Busy,            // another program holds the port
    NotASerialPort,
    Other,
};

// The message for a port that could not be opened: the port, the reason
// and what to do. `device` is what the name opened, `reason` the system's
// own words for Other.
std::string DescribePortOpenFailure(const std::string& name, const std::string& device,
                                    PortOpenFailure failure, const std::string& reason);

#ifndef _WIN32
// How an errno value from opening or locking a port is reported.
PortOpenFailure PortOpenFailureFromErrno(int error);
#endif

}  // namespace trovik
