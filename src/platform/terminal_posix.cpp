#include "platform/input_read.h"
#include "platform/terminal.h"

#include <algorithm>

#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tarnel::platform {

unsigned ErrorTerminalColumns()
{
    winsize size{};
    if (::isatty(STDERR_FILENO) == 0 || ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0) {
        return 0;
    }
    // A terminal that does not tell its size is taken as the classic 80.
    return size.ws_col != 0 ? size.ws_col : 80;
}

bool InputIsTerminal()
{
    return ::isatty(STDIN_FILENO) != 0;
}

bool OutputIsTerminal()
{
    return ::isatty(STDOUT_FILENO) != 0;
}

std::ptrdiff_t ReadInput(char* buffer, std::size_t size, std::chrono::milliseconds timeout)
{
    pollfd ready{STDIN_FILENO, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) <= 0) {
        return -1;
    }
    const ssize_t n = ::read(STDIN_FILENO, buffer, size);
    return n < 0 && errno == EINTR ? -1 : std::max<ssize_t>(n, 0);
}

}  // namespace tarnel::platform
