#pragma once

#include "platform/serial_line.h"

#include <windows.h>

namespace tarnel::platform {

// The line settings as a COM port's DCB holds them.
LineSettings ReadDcb(const DCB& dcb);

// Writes the settings into `dcb`; a baud rate of 0 keeps the DCB's own.
void WriteDcb(const LineSettings& settings, DCB& dcb);

}  // namespace tarnel::platform
