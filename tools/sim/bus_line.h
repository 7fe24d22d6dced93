#pragma once

#include <string>

namespace tarnel::sim {

// The simulator's end of the serial line, raw 8N1.
struct BusLine {
    int fd = -1;           // read and write the bus here
    int keepOpen = -1;     // the pseudo-terminal's own slave, held so that the
                           // line does not hang up between two openings
    std::string peerPath;  // the device the service tool opens
};

// The speed the line runs at now, 0 when it is none of the controllers'.
// On a pseudo-terminal this is the speed the other end set.
unsigned LineBaud(int fd);

// Opens `device` at `baud`, or makes a pseudo-terminal when `device` is
// empty. On failure returns a line with fd -1 and says why in `error`.
BusLine OpenBusLine(const std::string& device, unsigned baud, std::string& error);

}  // namespace tarnel::sim
