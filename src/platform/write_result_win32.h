#pragma once

#include <windows.h>

#include <cstddef>
#include <system_error>

namespace tarnel::platform {

// What a WriteFile of `wanted` bytes that returned `ok` and wrote `written`
// comes to: a write cut short is an error even when the call succeeded,
// most likely a full disk.
std::error_code WriteResult(BOOL ok, DWORD written, std::size_t wanted);

}  // namespace tarnel::platform
