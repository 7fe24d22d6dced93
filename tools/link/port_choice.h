#pragma once

#include "platform/serial_line.h"

#include <optional>
#include <string>
#include <vector>

namespace tarnel::tool {

// A port as the technician names it: a number, as in the window, or a path.
struct PortChoice {
    std::string text;

    // Opens it at `baudIndex`; on failure says why on standard error.
    platform::SerialLine Open(int baudIndex) const;
};

// "9600" or "all"; nothing when the text names no speed of the table.
std::optional<std::vector<int>> BaudIndexes(const std::string& text);

}  // namespace tarnel::tool
