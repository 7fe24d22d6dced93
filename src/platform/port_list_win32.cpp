#include "platform/port_list.h"

#include <cstdio>
#include <windows.h>

namespace tarnel::platform {
namespace {

constexpr unsigned kHighestPort = 255;

// The device namespace also reaches COM10 and above.
std::string DeviceName(unsigned number)
{
    char device[32];
    std::snprintf(device, sizeof device, "\\\\.\\COM%u", number);
    return device;
}

}  // namespace

std::vector<PortInfo> ListPorts()
{
    std::vector<PortInfo> ports;
    for (unsigned number = 1; number <= kHighestPort; ++number) {
        const std::string name = "COM" + std::to_string(number);
        char target[512];
        if (::QueryDosDeviceA(name.c_str(), target, sizeof target) != 0) {
            ports.push_back({number, DeviceName(number), target});
        }
    }
    return ports;
}

std::optional<std::string> DeviceForPort(unsigned number)
{
    return DeviceName(number);
}

}  // namespace tarnel::platform
