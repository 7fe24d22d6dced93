#include "platform/system_menu.h"

namespace tarnel::platform {

bool AppendToSystemMenu(std::uintptr_t, const std::string&, unsigned, std::function<void(unsigned, long)>)
{
    return false;  // X11 and Wayland windows have no menu a program can extend
}

}  // namespace tarnel::platform
