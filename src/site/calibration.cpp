#include "site/calibration.h"

#include "site/answers.h"

namespace tarnel::site {

Calibration JudgeCalibration(const Answer& answer)
{
    if (const auto failure = FailureOf(answer)) {
        return {Calibration::Kind::Failed, 0, *failure};
    }
    const std::uint16_t value = CalibrationValue(*answer.frame);
    return value == 0 ? Calibration{Calibration::Kind::Calibrated} : Calibration{Calibration::Kind::RopeDry, value};
}

}  // namespace tarnel::site
