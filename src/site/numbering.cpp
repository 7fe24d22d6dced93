#include "site/numbering.h"

#include <iterator>

namespace tarnel::site {

std::uint32_t NumberingStart(std::uint32_t first, std::uint32_t last, const std::set<std::uint32_t>& recorded)
{
    const auto above = recorded.upper_bound(last);
    if (above == recorded.begin() || *std::prev(above) < first) {
        return first;
    }
    return *std::prev(above) + 1;
}

std::optional<std::uint32_t> NextFreeAddress(std::uint32_t from, std::uint32_t last, std::uint32_t factory,
                                             const std::set<std::uint32_t>& recorded)
{
    for (std::uint32_t address = from; address <= last; ++address) {
        if (address != factory && !recorded.contains(address)) {
            return address;
        }
    }
    return std::nullopt;
}

}  // namespace tarnel::site
