#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace tarnel::test {

// A pseudo-terminal owned by the test. The link opens the slave as serial
// port 1 (through TARNEL_PORTS); the test plays the device on the master and
// reads back from it what the link configured.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

    void Send(const std::vector<std::uint8_t>& bytes) const;

    // Whatever arrives on the master within `wait`, stopping early once
    // `atLeast` bytes have come.
    std::vector<std::uint8_t> Receive(std::chrono::milliseconds wait, std::size_t atLeast = SIZE_MAX) const;

private:
    int master_ = -1;
    std::string slavePath_;
};

// Makes `devices` (colon-separated) the port numbering for the scope.
struct PortsOverride {
    explicit PortsOverride(const std::string& devices) { ::setenv("TARNEL_PORTS", devices.c_str(), 1); }
    ~PortsOverride() { ::unsetenv("TARNEL_PORTS"); }
};

}  // namespace tarnel::test
