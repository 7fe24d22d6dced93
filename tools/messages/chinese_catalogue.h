#pragma once

#include <cstdint>
#include <span>

namespace tarnel::messages {

// The compiled Chinese catalogue, built into programs for a system without
// gettext.
extern const std::span<const std::uint8_t> kChineseCatalogue;

}  // namespace tarnel::messages
