#pragma once

#include <cstdint>

namespace tarnel::platform {

// A millisecond clock that only moves forward and wraps at 2^32; measure
// elapsed time as the difference of two readings.
std::uint32_t TickCount();

// Pauses the calling thread for about `milliseconds`.
void Pause(std::uint32_t milliseconds);

}  // namespace tarnel::platform
