#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tarnel::sim {

// One time-stamped line of the traffic trace on standard output:
// "12:30:05.123 <- 05 04 40 02 00 01 95 CA", with `what` between the time and
// the bytes ("<-" a request, "->" a reply) and an optional remark after them.
void Trace(std::string_view what, std::span<const std::uint8_t> bytes, std::string_view remark = {});

}  // namespace tarnel::sim
