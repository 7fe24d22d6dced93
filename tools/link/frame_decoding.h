#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tarnel::tool {

// "address 1, read input register 0x4002 x1, check good": what a request or
// an answer on the bus says, in the user's language.
std::string Decode(std::span<const std::uint8_t> frame);

}  // namespace tarnel::tool
