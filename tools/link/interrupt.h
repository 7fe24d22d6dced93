#pragma once

#include "link/line.h"

namespace tarnel::tool {

// Ctrl-C, as the one stop source of a run: from its construction on, Ctrl-C
// no longer ends the program but asks every wait on the line to end.
class InterruptStop : public link::StopSource {
public:
    InterruptStop();
    bool StopRequested() const override;
};

}  // namespace tarnel::tool
