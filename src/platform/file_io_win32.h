#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace tarnel::platform {

// Appends what is left to read of the open file `handle` to `contents`.
std::error_code ReadToEnd(HANDLE handle, std::string& contents);

// Writes all of `text` to the open file `handle`.
std::error_code WriteAll(HANDLE handle, std::string_view text);

// What a WriteFile of `wanted` bytes that returned `ok` and wrote `written`
// comes to: a write cut short is an error even when the call succeeded,
// most likely a full disk.
std::error_code WriteResult(BOOL ok, DWORD written, std::size_t wanted);

}  // namespace tarnel::platform
