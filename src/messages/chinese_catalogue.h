#pragma once

#include <cstdint>
#include <span>

namespace tarnel::messages {

// The compiled Chinese catalogue, built into the programs: the window speaks
// Chinese whatever the system's language, and Windows has no gettext.
extern const std::span<const std::uint8_t> kChineseCatalogue;

}  // namespace tarnel::messages
