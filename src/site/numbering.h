#pragma once

#include <cstdint>
#include <optional>
#include <set>

// Which address a site's next new controller is given.
namespace tarnel::site {

// Where numbering starts: after the highest recorded address from `first`
// to `last`, so that the next visit goes on where the last one ended.
std::uint32_t NumberingStart(std::uint32_t first, std::uint32_t last, const std::set<std::uint32_t>& recorded);

// The first address from `from` up to `last` that is neither the factory
// address nor recorded; none when every one is.
std::optional<std::uint32_t> NextFreeAddress(std::uint32_t from, std::uint32_t last, std::uint32_t factory,
                                             const std::set<std::uint32_t>& recorded);

}  // namespace tarnel::site
