#pragma once

#include <string>
#include <system_error>

namespace tarnel::platform {

// The system's own description of `error`, in the user's language, as UTF-8.
std::string ErrorText(std::error_code error);

}  // namespace tarnel::platform
