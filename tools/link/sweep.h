#pragma once

#include "port_choice.h"

#include <cstdint>
#include <vector>

namespace tarnel::tool {

// What a command that sweeps a range of addresses, at one speed or each in
// turn, is given.
struct Sweep {
    PortChoice port;
    std::vector<int> baudIndexes;
    std::uint32_t from = 0;
    std::uint32_t to = 255;
    std::uint32_t timeoutMs = 250;
    std::uint32_t listenMs = 500;  // before the first request at each speed, for another master
    bool force = false;            // send even while another master uses the bus
    bool trace = false;
};

}  // namespace tarnel::tool
