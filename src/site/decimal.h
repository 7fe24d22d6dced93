#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarnel::site {

// A number as a technician types it: decimal digits only, so "017" is 17,
// within min..max. Nothing for signs, blanks, hex, full-width digits or
// anything else.
std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t min, std::uint32_t max);

}  // namespace tarnel::site
