#pragma once

namespace tarnel::platform {

// What separates a path's parts, the preferred first.
extern const char* const kPathSeparators;

}  // namespace tarnel::platform
