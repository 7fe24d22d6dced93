#pragma once

#include "line.h"

#include <cstdint>

namespace tarnel::tool {

// Both return the exit status.

// Moves the controller at `oldAddress` to `newAddress`; with `verify`,
// probes the new address too, since an answer of the right length alone
// does not prove the move.
int RunSetAddress(const PortChoice& port, int baudIndex, std::uint32_t oldAddress, std::uint32_t newAddress,
                  bool verify, std::uint32_t timeoutMs, const Trace& trace);

// Zero-calibrates the rope of channel A, judged as the window judges it.
int RunCalibrate(const PortChoice& port, int baudIndex, std::uint32_t address, const Trace& trace);

}  // namespace tarnel::tool
