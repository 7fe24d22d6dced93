#pragma once

#include <string>

namespace tarnel::platform {

// Our UTF-8 and the system's UTF-16.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

}  // namespace tarnel::platform
