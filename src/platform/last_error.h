#pragma once

#include <system_error>

namespace tarnel::platform {

// The error of the last failed system call on this thread.
std::error_code LastError();

}  // namespace tarnel::platform
