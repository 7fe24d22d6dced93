#pragma once

#include "site/bus.h"
#include "site/outcomes.h"

#include <cstdint>
#include <optional>

// What an answer to one request comes to.
namespace tarnel::site {

// An exception reply: the controller refused.
bool Refusal(const HeardFrame& frame);

// A reply in time or late that does what was asked: not an exception.
bool Valid(const Answer& answer);

// Why an answer is not valid; nothing when it is.
std::optional<AnswerFailure> FailureOf(const Answer& answer);

// The value a calibration's reply carries: 0 when the rope was zeroed.
std::uint16_t CalibrationValue(const HeardFrame& reply);

}  // namespace tarnel::site
