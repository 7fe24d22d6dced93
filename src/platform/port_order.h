#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tarnel::platform {

// The serial devices among `names` (file names in /dev) in port-number
// order: USB adapters (ttyUSB, by number), then ttyACM, then the built-in
// UARTs (ttyS) for which `present` is true. Other names are left out.
std::vector<std::string> PortOrder(std::span<const std::string> names,
                                   const std::function<bool(const std::string&)>& present);

}  // namespace tarnel::platform
