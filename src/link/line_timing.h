#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

// How long bytes take on a Modbus-RTU line: 10 bits a byte (start, 8 data,
// stop), and 3.5 characters of silence between two frames.
namespace tarnel::link {

using Micros = std::chrono::microseconds;

constexpr Micros WireTime(std::size_t bytes, std::uint32_t baud)
{
    return Micros(static_cast<std::int64_t>(bytes) * 10 * 1'000'000 / baud);
}

// Above 19200 baud the gap is fixed, as Modbus-RTU has it.
constexpr Micros FrameGap(std::uint32_t baud)
{
    return baud > 19200 ? Micros(1750) : Micros(35 * 1'000'000 / baud);
}

// USB adapters hand received bytes over in bursts up to 16 ms apart: a
// margin past that for the rest of a frame whose first bytes have come.
constexpr Micros kBurstMargin{20'000};

}  // namespace tarnel::link
