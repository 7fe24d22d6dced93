#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace tarnel::platform {

// Appends what is left to read of the open file `fd` to `contents`.
std::error_code ReadToEnd(int fd, std::string& contents);

// Writes all of `text` to the open file `fd`.
std::error_code WriteAll(int fd, std::string_view text);

}  // namespace tarnel::platform
