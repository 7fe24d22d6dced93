#include "site/decimal.h"

#include <charconv>

namespace tarnel::site {

std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t min, std::uint32_t max)
{
    std::uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || error != std::errc{} || stop != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace tarnel::site
