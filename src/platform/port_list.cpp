#include "platform/port_list.h"

#include <algorithm>
#include <filesystem>
#include <cctype>
#include <fstream>
#include <optional>

#include "platform/serial_ports.h"
#include "settings/tracker_settings.h"

namespace trovik {
namespace fs = std::filesystem;

namespace {

std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

std::string UartName(const std::string& type) {
    static const char* const kNames[] = {"unknown", "8250", "16450", "16550", "16550A", "Cirrus", "16650",
                                         "16650V2", "16750", "Startech", "16C950", "16654", "16850", "RSA"};
    int value = -1;
    try {
        value = std::stoi(type);
    } catch (const std::exception&) {
        return {};
    }
    if (value >= 0 && value < static_cast<int>(std::size(kNames))) return kNames[value];
    return "type " + type;
}

// The USB device a tty belongs to: the nearest folder above it with a
// vendor id.
std::optional<fs::path> UsbDeviceOf(const fs::path& device) {
    for (fs::path p = device; p.has_relative_path() && p != p.root_path(); p = p.parent_path())
        if (fs::exists(p / "idVendor")) return p;
    return std::nullopt;
}

}  // namespace

PortListResult ListSerialPorts(const std::string& sysClassTty, const std::string& devDir) {
    PortListResult result;
    std::error_code error;
    fs::directory_iterator entries(sysClassTty, error);
    if (error) {
        result.error = "the system's list of serial ports (" + sysClassTty + ") cannot be read: " + error.message();
        return result;
    }
    // Stable names first, to attach them to their devices.
    std::vector<std::pair<fs::path, std::string>> byId;  // target, link
    for (fs::directory_iterator it(fs::path(devDir) / "serial" / "by-id", error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        fs::path target = fs::read_symlink(it->path(), ignored);
        if (target.is_relative()) target = it->path().parent_path() / target;
        byId.emplace_back(target.lexically_normal().filename(), it->path().string());
    }

    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        std::error_code ignored;
        const fs::path deviceLink = entry.path() / "device";
        if (!fs::exists(deviceLink, ignored)) continue;  // virtual consoles, ptmx and the like
        const fs::path device = fs::canonical(deviceLink, ignored);

        SerialPortInfo port;
        port.device = (fs::path(devDir) / name).string();
        port.driver = fs::read_symlink(deviceLink / "driver", ignored).filename().string();
        if (port.driver == "port") port.driver.clear();  // the serial core's generic driver says nothing
        if (name.rfind("ttyS", 0) == 0) {
            const std::string type = ReadAttribute(entry.path() / "type");
            if (type == "0") continue;  // a placeholder with no UART behind it
            for (int i = 0; i < kComPortCount; ++i)
                if (fs::path(DevicePathForPortName(ComPortName(i))).filename() == name) port.comName = ComPortName(i);
            const std::string uart = UartName(type);
            port.description = "built-in serial port" + (uart.empty() ? "" : ", " + uart + " UART");
        } else if (auto usb = UsbDeviceOf(device)) {
            const std::string vendor = ReadAttribute(*usb / "idVendor");
            const std::string product = ReadAttribute(*usb / "idProduct");
            std::string text = ReadAttribute(*usb / "manufacturer");
            const std::string productName = ReadAttribute(*usb / "product");
            if (!productName.empty()) text += (text.empty() ? "" : " ") + productName;
            port.description = "USB serial adapter: " + (text.empty() ? std::string("unnamed") : text) + " (" + vendor +
                               ":" + product + ")";
            const std::string serial = ReadAttribute(*usb / "serial");
            if (!serial.empty()) port.description += ", serial number " + serial;
        } else {
            port.description = "serial port";
        }
        for (const auto& [target, link] : byId)
            if (target == name) port.stableNames.push_back(link);
        std::sort(port.stableNames.begin(), port.stableNames.end());
        result.ports.push_back(std::move(port));
    }
    // ttyS2 before ttyS10.
    auto key = [](const std::string& d) {
        std::size_t digits = d.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(d[digits - 1]))) --digits;
        return std::make_pair(d.substr(0, digits), d.size() - digits == 0 ? 0 : std::stoul(d.substr(digits)));
    };
    std::sort(result.ports.begin(), result.ports.end(),
              [&](const SerialPortInfo& a, const SerialPortInfo& b) { return key(a.device) < key(b.device); });
    result.ok = true;
    return result;
}

}  // namespace trovik
