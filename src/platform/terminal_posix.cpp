#include "platform/terminal.h"

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

}  // namespace tarnel::platform
