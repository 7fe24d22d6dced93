#pragma once

#include "port_choice.h"

#include <cstdint>
#include <vector>

namespace tarnel::tool {

// A diagnosis of the bus: listen at each speed, then probe the range, and
// say what is wrong and how to fix it.
struct DoctorRequest {
    PortChoice port;
    std::vector<int> baudIndexes;
    std::uint32_t from = 0;
    std::uint32_t to = 255;
    std::uint32_t timeoutMs = 250;
    std::uint32_t listenMs = 2000;
    bool force = false;
    bool json = false;
    bool trace = false;
};

// Returns the exit status: 0 healthy, 1 nothing answers, 7 another master,
// 8 problems found.
int RunDoctor(const DoctorRequest& request);

}  // namespace tarnel::tool
