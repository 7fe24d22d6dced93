#include "platform/input_read.h"
#include "platform/terminal.h"

#include <algorithm>

namespace tarnel::platform {

InputLine WaitForInputLine(std::string& line, std::chrono::milliseconds timeout)
{
    // What came after the last line handed over.
    static std::string pending;
    static bool closed = false;
    auto newline = pending.find('\n');
    if (newline == std::string::npos && !closed) {
        char buffer[256];
        const std::ptrdiff_t n = ReadInput(buffer, sizeof buffer, timeout);
        closed = n == 0;
        pending.append(buffer, static_cast<std::size_t>(std::max<std::ptrdiff_t>(n, 0)));
        newline = pending.find('\n');
    }
    if (newline == std::string::npos && !(closed && !pending.empty())) {
        return closed ? InputLine::Closed : InputLine::NotYet;
    }
    line = pending.substr(0, newline);
    pending.erase(0, newline == std::string::npos ? pending.size() : newline + 1);
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return InputLine::Read;
}

}  // namespace tarnel::platform
