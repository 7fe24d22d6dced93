#pragma once

#include "link/serial_port.h"

#include <cstdint>
#include <vector>

namespace tarnel::link {

// Each command is one synchronous exchange: send the request, then wait for
// the 7-byte answer. Answers are judged by how many bytes arrive in time
// (and, for calibration, by the value bytes); neither the address nor the
// check of an answer is examined. Addresses use their low eight bits.

// True when anything of 7 bytes or more answers a probe of `address` within
// `timeoutMs`. Given no port, sends nothing and fails after the full wait.
bool ProbeAddress(PortHandle& port, unsigned address, std::uint32_t timeoutMs);

// True when the controller at `oldAddress` answers the change to `newAddress`.
bool SetDeviceAddress(PortHandle& port, unsigned oldAddress, unsigned newAddress);

// True when the controller at `address` answers and reports the value 0.
// `answer`, when given, receives the bytes that were read.
bool ZeroCalibrate(PortHandle& port, unsigned address, std::vector<std::uint8_t>* answer = nullptr);

}  // namespace tarnel::link
