#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tarnel::dialog {

// Appends a separator and the item `text` (UTF-8) with command `id` to the
// system menu of the native window `window`, and hands that item's commands
// (the low four bits of the command ignored) to `onCommand`; every other
// system command keeps its default handling. Returns false where windows
// have no such menu.
bool AppendToSystemMenu(std::uintptr_t window, const std::string& text, unsigned id,
                        std::function<void(unsigned command)> onCommand);

}  // namespace tarnel::dialog
