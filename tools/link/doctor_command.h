#pragma once

#include "sweep.h"

namespace tarnel::tool {

// A diagnosis of the bus: listen at each speed, then probe the range, and
// say what is wrong and how to fix it.
struct DoctorRequest : Sweep {
    bool json = false;
};

// Returns the exit status: 0 healthy, 1 nothing answers, 7 another master,
// 8 problems found.
int RunDoctor(const DoctorRequest& request);

}  // namespace tarnel::tool
