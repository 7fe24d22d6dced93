#pragma once

#include "link/serial_port.h"

#include <cstdint>

namespace tarnel::scan {

// The last bus address a scan probes.
constexpr std::uint32_t kLastAddress = 255;

// What one step of the walk over the bus addresses did.
struct WalkStep {
    std::uint32_t probed = 0;  // the counter's value, whose low 8 bits went out
    bool answered = false;
    bool rangeDone = false;    // unanswered, and it was the last address
};

// Probes the address the counter `nextAddress` points at, waiting up to
// `periodMs` for an answer, and moves the counter on.
WalkStep ProbeNext(link::PortHandle& port, std::uint32_t& nextAddress, std::uint32_t periodMs);

}  // namespace tarnel::scan
