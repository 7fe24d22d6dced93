#pragma once

#include "link/line.h"

namespace tarnel::tool {

// Ctrl-C, as the one stop source of a run: while it lives, Ctrl-C no longer
// ends the program but asks every wait on the line to end.
class InterruptStop : public link::StopSource {
public:
    InterruptStop();
    ~InterruptStop() override;
    InterruptStop(const InterruptStop&) = delete;
    InterruptStop& operator=(const InterruptStop&) = delete;

    bool StopRequested() const override;
};

}  // namespace tarnel::tool
