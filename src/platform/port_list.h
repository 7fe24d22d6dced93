#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnel::platform {

// One serial device as the operator numbers it.
struct PortInfo {
    unsigned number = 0;
    std::string device;       // path to open
    std::string description;  // what the system tells about it, may be empty
};

// The current numbering, port 1 first. On Linux TARNEL_PORTS (device paths
// separated by colons) replaces it; otherwise USB adapters come first
// (ttyUSB, then ttyACM), then the built-in UARTs that really exist.
std::vector<PortInfo> ListPorts();

// The device that port `number` opens, if any.
std::optional<std::string> DeviceForPort(unsigned number);

}  // namespace tarnel::platform
