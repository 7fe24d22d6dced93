#pragma once

#include "platform/serial_line.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarnel::link {

// The open port, or none.
using PortHandle = platform::SerialLine;

// Opens port `portNumber` with ControllerLineSettings for `baudIndex` and the
// link's time-outs. Returns none when the port is absent, in use or refuses
// the settings; `failure`, when given, says why.
PortHandle OpenPort(unsigned portNumber, int baudIndex, platform::OpenFailure* failure = nullptr);
PortHandle OpenPort(const std::string& device, int baudIndex, platform::OpenFailure* failure = nullptr);

void ClosePort(PortHandle& port);

// The controller's line settings over those a port reported: the speed of
// `baudIndex` in the baud table (any other index keeps the reported one), 8
// data bits, no parity, one stop bit, no parity check, abort on error.
platform::LineSettings ControllerLineSettings(const platform::LineSettings& reported, int baudIndex);

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
