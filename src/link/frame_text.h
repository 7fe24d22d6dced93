#pragma once

#include <cstdint>
#include <span>
#include <string>

// Frames as a technician reads them on the line.
namespace tarnel::link {

// "01 04 40 02 00 01 85 CA"
std::string Hex(std::span<const std::uint8_t> bytes);

}  // namespace tarnel::link
