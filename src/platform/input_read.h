#pragma once

#include <chrono>
#include <cstddef>

namespace tarnel::platform {

// Waits about `timeout` for bytes on standard input and reads what came:
// their count, -1 when none came, 0 at the end of the input.
std::ptrdiff_t ReadInput(char* buffer, std::size_t size, std::chrono::milliseconds timeout);

}  // namespace tarnel::platform
