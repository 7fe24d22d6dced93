#pragma once

#include "platform/serial_line.h"

#include <termios.h>

namespace tarnel::platform {

// The line settings as a tty's termios holds them.
LineSettings ReadTermios(const termios& tio);

// Writes the settings into `tio` and makes the line raw, leaving hardware
// flow control as it was. False for a speed termios cannot name.
bool WriteTermios(const LineSettings& settings, termios& tio);

}  // namespace tarnel::platform
