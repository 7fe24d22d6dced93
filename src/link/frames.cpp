#include "link/frames.h"

#include "link/crc16.h"

#include <span>

namespace tarnel::link {
namespace {

std::uint8_t Low8(unsigned value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

// Fills the last two bytes with the check over all bytes before them.
template <std::size_t N>
std::array<std::uint8_t, N> Sealed(std::array<std::uint8_t, N> frame)
{
    const std::uint16_t check = Crc16(std::span(frame).template first<N - 2>());
    frame[N - 2] = static_cast<std::uint8_t>(check >> 8);
    frame[N - 1] = static_cast<std::uint8_t>(check & 0xFF);
    return frame;
}

ShortFrame ReadInputRegister(unsigned address, std::uint8_t registerLow)
{
    return Sealed(ShortFrame{Low8(address), 0x04, 0x40, registerLow, 0x00, 0x01, 0, 0});
}

}  // namespace

ShortFrame ProbeFrame(unsigned address)
{
    return ReadInputRegister(address, 0x02);
}

ShortFrame ZeroCalibrationFrame(unsigned address)
{
    return ReadInputRegister(address, 0x08);
}

LongFrame SetAddressFrame(unsigned oldAddress, unsigned newAddress)
{
    return Sealed(LongFrame{Low8(oldAddress), 0x06, 0x80, 0x01, 0x00, 0x01, 0x00, Low8(newAddress), 0, 0});
}

}  // namespace tarnel::link
