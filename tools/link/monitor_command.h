#pragma once

#include "port_choice.h"

namespace tarnel::tool {

// Listens without sending and prints each frame seen on the bus, split at
// silent gaps of 3.5 character times, until Ctrl-C; returns the exit status.
int RunMonitor(const PortChoice& port, int baudIndex);

}  // namespace tarnel::tool
