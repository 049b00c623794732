#include "platform/serial_ports.h"

namespace trovik {

std::string DescribePortOpenFailure(const std::string& name, const std::string& device,
                                    PortOpenFailure failure, const std::string& reason) {
    const std::string port = "The port " + name + (device != name ? " (" + device + ")" : std::string());
    switch (failure) {
        case PortOpenFailure::NoSuchPort:
            return port + " does not exist. Check the port's name and that the adapter is plugged in.";
        case PortOpenFailure::PermissionDenied:
#ifdef _WIN32
            return port + " cannot be opened: access was denied. Close any program that uses it and try again.";
#else
            return port +
                   " cannot be opened: permission denied. Add your user to the dialout group "
                   "(sudo usermod -aG dialout $USER), then log out and in again.";
#endif
        case PortOpenFailure::Busy:
            return port + " is busy: another program holds it. Close that program and try again.";
        case PortOpenFailure::NotASerialPort:
            return port + " is not a serial port. Name a serial port such as COM1 or /dev/ttyUSB0.";
        case PortOpenFailure::Other:
            break;
    }
    return port + " cannot be opened: " + reason + ".";
}

}  // namespace trovik
