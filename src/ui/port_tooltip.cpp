#include "port_tooltip.h"

#include "platform/port_list.h"

std::string PortListText()
{
    const auto ports = tarnel::platform::ListPorts();
    if (ports.empty()) {
        return "没有找到串口";
    }
    std::string text = "串口号：";
    for (const auto& port : ports) {
        // Appended piece by piece: GCC 12 warns wrongly on a chain of + here.
        text.append("\n").append(std::to_string(port.number)).append(" = ").append(port.device);
        if (!port.description.empty()) {
            text.append("（").append(port.description).append("）");
        }
    }
    return text;
}
