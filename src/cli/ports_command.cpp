#include "cli/ports_command.h"

#include <algorithm>
#include <ostream>

#include <CLI/CLI.hpp>

#include "platform/port_list.h"

namespace trovik::cli {

CLI::App* PortsCommand::Register(CLI::App& app) {
    CLI::App* command = app.add_subcommand("ports", "List the serial ports of this machine; opens none of them");
    command->footer(
        "COM1 to COM8 open /dev/ttyS0 to /dev/ttyS7; any other port is named by its\n"
        "device, best by its stable /dev/serial/by-id name.\n"
        "Exit codes: 0 listed (even when there are none); 3 the system's list of ports\n"
        "cannot be read.");
    return command;
}

int PortsCommand::Run(CliContext& context) {
#ifdef _WIN32
    context.out << "Listing ports is not available on Windows yet; the ports are COM1 to COM8 as the "
                   "Device Manager shows them.\n";
    return kExitOk;
#else
    const PortListResult list = ListSerialPorts(sysClassTty, devDir);
    if (!list.ok) {
        ReportError(context, list.error + ".");
        return kExitFile;
    }
    if (list.ports.empty()) {
        context.out << "No serial ports found. A USB serial adapter shows up here once it is plugged in.\n";
        return kExitOk;
    }
    std::size_t width = 0;
    for (const auto& p : list.ports) width = std::max(width, p.device.size());
    for (const auto& p : list.ports) {
        context.out << p.device << std::string(width - p.device.size() + 2, ' ')
                    << (p.comName.empty() ? std::string("-   ") : p.comName) << "  " << p.description;
        if (!p.driver.empty()) context.out << " (driver " << p.driver << ")";
        context.out << "\n";
        for (const auto& stable : p.stableNames) context.out << std::string(width + 8, ' ') << stable << "\n";
    }
    return kExitOk;
#endif
}

}  // namespace trovik::cli
