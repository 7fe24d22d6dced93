#pragma once

#include "link/line.h"

#include <cstddef>
#include <cstdint>

namespace tarnel::link {

// The window's exchanges. Each empties the line, sends its request, then
// waits for the answer, judged by how many bytes arrive in time (and, for
// calibration, by the value bytes); neither the address nor the check of an
// answer is examined. Addresses use their low eight bits.

// Every request waits for an answer of at least this many bytes: a
// one-register read reply (address, function, byte count, value, check).
constexpr std::size_t kAnswerLength = 7;

// True when anything of kAnswerLength bytes or more answers a probe of
// `address` within `timeoutMs`. On a line with no port, sends nothing and
// fails after the full wait.
bool ProbeAddress(Line& line, unsigned address, std::uint32_t timeoutMs);

// True when the controller at `oldAddress` answers the change to `newAddress`.
bool SetDeviceAddress(Line& line, unsigned oldAddress, unsigned newAddress);

// True when the controller at `address` answers and reports the value 0.
bool ZeroCalibrate(Line& line, unsigned address);

}  // namespace tarnel::link
