#pragma once

// The serial ports "Program PIC" opens, and the waits of a run on them:
// the machine's own, or a simulated chip behind every port name.

#include <memory>
#include <string>

#include "image/file_access.h"
#include "programmer/serial_port.h"

namespace trovik {
class SimulatedChip;
}

class CProgrammingPorts {
public:
    virtual ~CProgrammingPorts() = default;

    virtual trovik::PortFactory& Ports() = 0;
    // The sleeper for a run on portName. Called on the run's own thread,
    // which `real` belongs to.
    virtual trovik::Sleeper& SleeperFor(const std::string& portName, trovik::Sleeper& real) = 0;
    // What a name of the port list opens, for its tip: "/dev/ttyS0".
    virtual std::string DeviceFor(const std::string& portName) const = 0;
    // The same for the whole list, in a line of the help.
    virtual std::string Summary() const = 0;
};

// The machine's serial ports with real waits.
std::unique_ptr<CProgrammingPorts> MakeMachinePorts();

// A simulated chip behind every port name, named as trovik-cli's --port
// names one ("sim", "sim:realtime", "sim:absent", "sim:fail-at=40"); the
// chip keeps what it was programmed with for the object's life.
class CSimulatedPorts : public CProgrammingPorts {
public:
    CSimulatedPorts(trovik::FileAccess& files, std::string simName);
    ~CSimulatedPorts() override;

    trovik::PortFactory& Ports() override;
    trovik::Sleeper& SleeperFor(const std::string& portName, trovik::Sleeper& real) override;
    std::string DeviceFor(const std::string& portName) const override;
    std::string Summary() const override;

    const std::string& SimName() const { return m_simName; }
    // The port name the last run asked for ("COM1").
    const std::string& LastPortAsked() const { return m_lastPortAsked; }
    // The chip, once a run has opened it.
    const trovik::SimulatedChip* Chip() const;

private:
    class Factory;
    std::string m_simName;
    std::string m_lastPortAsked;
    std::unique_ptr<Factory> m_factory;
};

// The machine's ports, unless TROVIK_SIMULATED_PORT names a simulated chip
// to use instead (for demonstrations and trials without hardware).
std::unique_ptr<CProgrammingPorts> MakeProgrammingPorts(trovik::FileAccess& files);
