#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarnel::link {

// The Modbus CRC-16 (reflected polynomial 0xA001, start 0xFFFF, no final
// inversion). The upper eight bits of the result are the first check byte
// to transmit, the lower eight the second.
std::uint16_t Crc16(std::span<const std::uint8_t> data);

}  // namespace tarnel::link
