#pragma once

#include "platform/serial_line.h"

#include <string>

namespace tarnel::link {

// Opens port `portNumber` with ControllerLineSettings for `baudIndex` and the
// link's time-outs. Returns a line that is not open when the port is absent,
// in use or refuses the settings; `failure`, when given, says why.
platform::SerialLine OpenPort(unsigned portNumber, int baudIndex, platform::OpenFailure* failure = nullptr);
platform::SerialLine OpenPort(const std::string& device, int baudIndex, platform::OpenFailure* failure = nullptr);

// Switches an open port to the list's `baudIndex`th speed, the rest of the
// controller's settings kept; false when the port refuses.
bool SetSpeed(platform::SerialLine& port, int baudIndex);

// The controller's line settings over those a port reported: the speed of
// `baudIndex` in the baud table (any other index keeps the reported one), 8
// data bits, no parity, one stop bit, no parity check, abort on error.
platform::LineSettings ControllerLineSettings(const platform::LineSettings& reported, int baudIndex);

}  // namespace tarnel::link
