#pragma once

#include "line.h"

#include <cstdint>

namespace tarnel::tool {

// How one exchange with one controller goes.
struct ExchangeOptions {
    PortChoice port;
    int baudIndex = 3;
    std::uint32_t timeoutMs = 500;
    bool trace = false;
};

struct MoveOptions {
    std::uint32_t oldAddress = 0;
    std::uint32_t newAddress = 0;
    bool force = false;  // move even when something answers at the new address
    bool verify = false;
    std::uint32_t settleMs = 100;  // before the verifying probe
};

// Both return the exit status.

// Moves the controller at OLD to NEW: refuses when something answers at NEW
// already, and with `verify` accepts the move only when NEW answers.
int RunSetAddress(const ExchangeOptions& line, const MoveOptions& move);

// Zero-calibrates the rope of channel A.
int RunCalibrate(const ExchangeOptions& line, std::uint32_t address);

}  // namespace tarnel::tool
