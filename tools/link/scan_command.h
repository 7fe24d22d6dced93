#pragma once

#include "sweep.h"

namespace tarnel::tool {

struct ScanRequest : Sweep {
    bool all = false;
    bool json = false;
};

// Probes from..to at each speed in turn; returns the exit status.
int RunScan(const ScanRequest& request);

}  // namespace tarnel::tool
