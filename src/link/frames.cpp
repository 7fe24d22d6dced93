#include "link/frames.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"

namespace tarnel::link {
namespace {

std::uint8_t Low8(unsigned value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t High(std::uint16_t word)
{
    return static_cast<std::uint8_t>(word >> 8);
}

std::uint8_t Low(std::uint16_t word)
{
    return static_cast<std::uint8_t>(word & 0xFF);
}

template <std::size_t N>
std::array<std::uint8_t, N> WithCheck(std::array<std::uint8_t, N> frame)
{
    Seal(frame);
    return frame;
}

// One register: the quantity of a read, the count of the tool's write.
constexpr std::uint8_t kOne = 0x01;

ShortFrame ReadInputRegister(unsigned address, std::uint16_t reg)
{
    return WithCheck(ShortFrame{Low8(address), kReadInputRegisters, High(reg), Low(reg), 0x00, kOne, 0, 0});
}

}  // namespace

ShortFrame ProbeFrame(unsigned address)
{
    return ReadInputRegister(address, kStatusRegister);
}

ShortFrame ZeroCalibrationFrame(unsigned address)
{
    return ReadInputRegister(address, kZeroCalibrationRegister);
}

LongFrame SetAddressFrame(unsigned oldAddress, unsigned newAddress)
{
    return WithCheck(LongFrame{Low8(oldAddress), kWriteRegister, High(kAddressRegister), Low(kAddressRegister), 0x00,
                               kOne, 0x00, Low8(newAddress), 0, 0});
}

}  // namespace tarnel::link
