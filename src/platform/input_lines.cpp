#include "platform/input_read.h"
#include "platform/terminal.h"

#include <algorithm>

namespace tarnel::platform {

InputLine InputLines::Next(std::string& line, std::chrono::milliseconds timeout)
{
    auto newline = pending_.find('\n');
    if (newline == std::string::npos && !closed_) {
        char buffer[256];
        const std::ptrdiff_t n = ReadInput(buffer, sizeof buffer, timeout);
        closed_ = n == 0;
        pending_.append(buffer, static_cast<std::size_t>(std::max<std::ptrdiff_t>(n, 0)));
        newline = pending_.find('\n');
    }
    if (newline == std::string::npos && !(closed_ && !pending_.empty())) {
        return closed_ ? InputLine::Closed : InputLine::NotYet;
    }
    line = pending_.substr(0, newline);
    pending_.erase(0, newline == std::string::npos ? pending_.size() : newline + 1);
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return InputLine::Read;
}

}  // namespace tarnel::platform
