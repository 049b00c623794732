#pragma once

#include <string>
#include <vector>

namespace trovik {

// A serial port of this machine as the system describes it.
struct SerialPortInfo {
    std::string device;                // /dev/ttyUSB0
    std::string comName;               // "COM1" for /dev/ttyS0 and so on to COM8; else empty
    std::string description;           // "USB serial adapter: FTDI FT232R USB UART (0403:6001)"
    std::string driver;                // ftdi_sio, cp210x, ...
    std::vector<std::string> stableNames;  // /dev/serial/by-id/... links to it
};

struct PortListResult {
    bool ok = false;
    std::vector<SerialPortInfo> ports;  // sorted by device
    std::string error;
};

// Lists serial ports from the system's device tree (sysfs on Linux) and
// the /dev/serial/by-id links, without opening any device: opening a port
// can change its lines, and a built-in port may be the machine's console.
// Built-in UARTs that the system found no hardware for are left out.
PortListResult ListSerialPorts(const std::string& sysClassTty = "/sys/class/tty", const std::string& devDir = "/dev");

}  // namespace trovik
