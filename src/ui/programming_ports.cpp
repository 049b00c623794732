#include "ui/programming_ports.h"

#include <cstdlib>

#include "platform/serial_ports.h"
#include "sim/sim_ports.h"

namespace {

class MachinePorts : public CProgrammingPorts {
public:
    trovik::PortFactory& Ports() override { return m_ports; }
    trovik::Sleeper& SleeperFor(const std::string&, trovik::Sleeper& real) override { return real; }
    std::string DeviceFor(const std::string& portName) const override {
        return trovik::DevicePathForPortName(portName);
    }
    std::string Summary() const override {
        return "COM1 to COM8 open " + DeviceFor("COM1") + " to " + DeviceFor("COM8") + ".";
    }

private:
    trovik::SystemPortFactory m_ports;
};

}  // namespace

// Every name the window asks for opens the one simulated chip.
class CSimulatedPorts::Factory : public trovik::PortFactory {
public:
    Factory(CSimulatedPorts& owner, trovik::FileAccess& files) : m_owner(owner), m_sim(files) {}

    trovik::PortOpenResult Open(const std::string& name) override {
        m_owner.m_lastPortAsked = name;
        return m_sim.Open(m_owner.m_simName);
    }

    trovik::SimPortFactory& Sim() { return m_sim; }
    const trovik::SimPortFactory& Sim() const { return m_sim; }

private:
    CSimulatedPorts& m_owner;
    trovik::SimPortFactory m_sim;
};

CSimulatedPorts::CSimulatedPorts(trovik::FileAccess& files, std::string simName)
    : m_simName(std::move(simName)), m_factory(std::make_unique<Factory>(*this, files)) {}

CSimulatedPorts::~CSimulatedPorts() = default;

trovik::PortFactory& CSimulatedPorts::Ports() { return *m_factory; }

trovik::Sleeper& CSimulatedPorts::SleeperFor(const std::string&, trovik::Sleeper& real) {
    return m_factory->Sim().SleeperFor(m_simName, real);
}

std::string CSimulatedPorts::DeviceFor(const std::string&) const {
    return "a simulated chip (" + m_simName + ")";
}

std::string CSimulatedPorts::Summary() const {
    return "Every port opens a simulated chip (" + m_simName +
           "), as TROVIK_SIMULATED_PORT asks; no serial port is used.";
}

const trovik::SimulatedChip* CSimulatedPorts::Chip() const { return m_factory->Sim().Chip(m_simName).get(); }

std::unique_ptr<CProgrammingPorts> MakeMachinePorts() { return std::make_unique<MachinePorts>(); }

std::unique_ptr<CProgrammingPorts> MakeProgrammingPorts(trovik::FileAccess& files) {
    const char* simName = std::getenv("TROVIK_SIMULATED_PORT");
    if (simName != nullptr && *simName != '\0') return std::make_unique<CSimulatedPorts>(files, simName);
    return MakeMachinePorts();
}
