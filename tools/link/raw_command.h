#pragma once

#include <string>
#include <vector>

namespace tarnel::tool {

// "PORT BAUD_INDEX COMMAND...": the link's low-level operations in order;
// returns the exit status.
int RunRaw(const std::vector<std::string>& args);
const char* RawUsage();

}  // namespace tarnel::tool
