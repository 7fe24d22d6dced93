#pragma once

#include "site/bus.h"
#include "site/outcomes.h"

namespace tarnel::site {

// What a zero calibration's answer says: calibrated (the value 0), a dry
// rope (any other value), or how it failed.
Calibration JudgeCalibration(const Answer& answer);

}  // namespace tarnel::site
