#pragma once

#include "port_choice.h"

#include <cstdint>
#include <vector>

namespace tarnel::tool {

struct ScanRequest {
    PortChoice port;
    std::vector<int> baudIndexes;
    std::uint32_t from = 0;
    std::uint32_t to = 255;
    std::uint32_t timeoutMs = 250;
    bool all = false;
    bool json = false;
    bool trace = false;
    std::uint32_t listenMs = 500;  // before the first probe at each speed, for another master
    bool force = false;            // probe even while another master uses the bus
};

// Probes from..to at each speed in turn; returns the exit status.
int RunScan(const ScanRequest& request);

}  // namespace tarnel::tool
