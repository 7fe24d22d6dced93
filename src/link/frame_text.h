#pragma once

#include <cstdint>
#include <span>
#include <string>

// Frames put into words for a technician: hex bytes and a short decoding.
namespace tarnel::link {

// "01 04 40 02 00 01 85 CA"
std::string Hex(std::span<const std::uint8_t> bytes);

// "address 1, read input register 0x4002, check good": what a request or
// an answer on the bus says.
std::string Decode(std::span<const std::uint8_t> frame);

}  // namespace tarnel::link
