#include "link/crc16.h"

#include <array>

namespace tarnel::link {
namespace {

// The Modbus CRC register after shifting i through it eight times.
constexpr std::uint16_t ShiftedRegister(std::uint16_t i)
{
    for (int bit = 0; bit < 8; ++bit) {
        i = (i & 1) ? static_cast<std::uint16_t>((i >> 1) ^ 0xA001) : static_cast<std::uint16_t>(i >> 1);
    }
    return i;
}

// The two classic Modbus tables: the "high" table holds the register's low
// byte, the "low" table its high byte.
constexpr auto kHighTable = [] {
    std::array<std::uint8_t, 256> table{};
    for (std::uint16_t i = 0; i < 256; ++i) {
        table[i] = static_cast<std::uint8_t>(ShiftedRegister(i) & 0xFF);
    }
    return table;
}();

constexpr auto kLowTable = [] {
    std::array<std::uint8_t, 256> table{};
    for (std::uint16_t i = 0; i < 256; ++i) {
        table[i] = static_cast<std::uint8_t>(ShiftedRegister(i) >> 8);
    }
    return table;
}();

static_assert(kHighTable[1] == 0xC1 && kHighTable[255] == 0x40);
static_assert(kLowTable[1] == 0xC0 && kLowTable[255] == 0x40);

}  // namespace

std::uint16_t Crc16(std::span<const std::uint8_t> data)
{
    std::uint8_t hi = 0xFF;
    std::uint8_t lo = 0xFF;
    for (const std::uint8_t byte : data) {
        const std::uint8_t index = hi ^ byte;
        hi = lo ^ kHighTable[index];
        lo = kLowTable[index];
    }
    return static_cast<std::uint16_t>(hi << 8 | lo);
}

}  // namespace tarnel::link
