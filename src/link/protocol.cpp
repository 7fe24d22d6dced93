#include "link/protocol.h"

#include "link/crc16.h"

namespace tarnel::link {

std::array<std::uint8_t, 2> CheckBytes(std::span<const std::uint8_t> data)
{
    const std::uint16_t check = Crc16(data);
    return {static_cast<std::uint8_t>(check >> 8), static_cast<std::uint8_t>(check & 0xFF)};
}

bool HasValidCheck(std::span<const std::uint8_t> frame)
{
    const auto check = CheckBytes(frame.first(frame.size() - 2));
    return frame[frame.size() - 2] == check[0] && frame[frame.size() - 1] == check[1];
}

}  // namespace tarnel::link
