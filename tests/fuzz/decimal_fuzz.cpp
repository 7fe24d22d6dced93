// Numbers as a technician types them, from the input: one accepted is in
// range, written in decimal digits only, and has the value those digits say.

#include "site/decimal.h"
#include "require.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const std::uint32_t min = data[0];
    const std::uint32_t max = min + data[1] * 300u;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    const auto value = tarnel::site::ParseDecimal(text, min, max);
    if (!value) {
        return 0;
    }
    Require(*value >= min && *value <= max);
    Require(!text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; }));
    const std::string_view digits = text.substr(std::min(text.find_first_not_of('0'), text.size() - 1));
    Require(digits == std::to_string(*value));
    return 0;
}
