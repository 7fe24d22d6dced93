#pragma once

#include "platform/serial_line.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarnel::link {

// The open port, or none.
using PortHandle = platform::SerialLine;

// Opens port `portNumber` with the controller's line settings (the speed of
// `baudIndex` in the baud table, 8 data bits, no parity, one stop bit) and
// time-outs; any other index (no selection) keeps the speed the port reported. Returns none when the port is
// absent, in use or refuses the settings; `failure`, when given, says why.
PortHandle OpenPort(unsigned portNumber, int baudIndex, platform::OpenFailure* failure = nullptr);
PortHandle OpenPort(const std::string& device, int baudIndex, platform::OpenFailure* failure = nullptr);

void ClosePort(PortHandle& port);

// Polls the input queue every 2 ms until it holds at least `count` bytes (as
// a 16-bit number) or more than `timeoutMs` have passed, and returns the
// number of bytes queued. The bytes stay in the queue. A port that cannot be
// queried counts as empty.
std::uint32_t WaitForInput(PortHandle& port, std::uint32_t count, std::uint32_t timeoutMs);

// Takes whatever the input queue holds now, without waiting. For looking at
// an answer after it was judged; the judging never depends on it.
std::vector<std::uint8_t> ReadQueued(PortHandle& port);

// Empties both queues, then writes the whole frame.
void Transmit(PortHandle& port, std::span<const std::uint8_t> frame);

}  // namespace tarnel::link
