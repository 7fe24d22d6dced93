#pragma once

#include <string>

namespace tarnel::tool {

// Lines for the technician, shown at once (a Windows console's streams are
// buffered, so that characters reach it whole).

// On standard output: what a job did.
void Print(const std::string& line);

// On standard error: progress, warnings and errors.
void Report(const std::string& line);

}  // namespace tarnel::tool
