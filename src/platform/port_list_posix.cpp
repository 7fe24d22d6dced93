#include "platform/port_list.h"

#include "platform/port_order.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace tarnel::platform {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> DevicesFromList(std::string_view list)
{
    std::vector<std::string> devices;
    while (!list.empty()) {
        const auto colon = list.find(':');
        const auto entry = list.substr(0, colon);
        if (!entry.empty()) {
            devices.emplace_back(entry);
        }
        list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
    }
    return devices;
}

std::string FirstLine(const fs::path& file)
{
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

fs::path SysfsTty(const std::string& device)
{
    return fs::path("/sys/class/tty") / fs::path(device).filename();
}

// The kernel creates ttyS nodes for UARTs that are not there; their port
// type reads as 0 (unknown).
bool IsPresentUart(const std::string& name)
{
    const std::string type = FirstLine(SysfsTty(name) / "type");
    return !type.empty() && type != "0";
}

// Manufacturer, product and serial number of the USB device behind a tty.
std::string Describe(const std::string& device)
{
    std::error_code error;
    fs::path node = fs::canonical(SysfsTty(device) / "device", error);
    if (error) {
        return {};
    }
    for (; node.has_relative_path() && node != "/sys"; node = node.parent_path()) {
        if (!fs::exists(node / "idVendor", error)) {
            continue;
        }
        std::string description;
        for (const char* attribute : {"manufacturer", "product", "serial"}) {
            const std::string value = FirstLine(node / attribute);
            if (value.empty()) {
                continue;
            }
            if (!description.empty()) {
                description += ' ';
            }
            description += std::string_view(attribute) == "serial" ? "S/N " + value : value;
        }
        return description;
    }
    return {};
}

std::vector<std::string> CurrentDevices()
{
    if (const char* list = std::getenv("TARNEL_PORTS")) {
        return DevicesFromList(list);
    }
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/dev", error)) {
        names.push_back(entry.path().filename().string());
    }
    std::vector<std::string> devices = PortOrder(names, IsPresentUart);
    for (std::string& device : devices) {
        device = "/dev/" + device;
    }
    return devices;
}

}  // namespace

std::vector<PortInfo> ListPorts()
{
    std::vector<PortInfo> ports;
    unsigned number = 0;
    for (auto& device : CurrentDevices()) {
        std::string description = Describe(device);
        ports.push_back({++number, std::move(device), std::move(description)});
    }
    return ports;
}

std::optional<std::string> DeviceForPort(unsigned number)
{
    auto devices = CurrentDevices();
    if (number == 0 || number > devices.size()) {
        return std::nullopt;
    }
    return std::move(devices[number - 1]);
}

}  // namespace tarnel::platform
