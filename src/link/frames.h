#pragma once

#include <array>
#include <cstdint>

namespace tarnel::link {

// The three requests the controller understands. Addresses are the low
// eight bits of whatever the caller passes; every frame ends in its check.
using ShortFrame = std::array<std::uint8_t, 8>;
using LongFrame = std::array<std::uint8_t, 10>;

// Read input register 0x4002: any answer means a controller is there.
ShortFrame ProbeFrame(unsigned address);

// Read input register 0x4008: the controller zero-calibrates rope A and
// answers 0 when it succeeded.
ShortFrame ZeroCalibrationFrame(unsigned address);

// Function 0x06 on register 0x8001, carrying the new address.
LongFrame SetAddressFrame(unsigned oldAddress, unsigned newAddress);

}  // namespace tarnel::link
