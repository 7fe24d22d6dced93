#include "dialog/system_menu.h"

namespace tarnel::dialog {

bool AppendToSystemMenu(std::uintptr_t, const std::string&, unsigned, std::function<void(unsigned)>)
{
    return false;  // X11 and Wayland windows have no menu a program can extend
}

}  // namespace tarnel::dialog
