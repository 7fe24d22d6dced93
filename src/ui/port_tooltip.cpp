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
        text += "\n" + std::to_string(port.number) + " = " + port.device;
        if (!port.description.empty()) {
            text += "（" + port.description + "）";
        }
    }
    return text;
}
