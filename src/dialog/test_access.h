#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class CDialog;

// What the operator sees of a running dialog beyond what its own calls
// read back, in the same terms on every backend; for tests.
namespace tarnel::dialog::testing {

// The tooltip that control `id` would show now; empty without one.
std::string ToolTipText(const CDialog& dialog, int id);

// The items the dialog added to its window menu, in order.
std::vector<std::string> WindowMenuItems(const CDialog& dialog);

// Chooses the window-menu item at `index`, as the operator does.
void ChooseWindowMenuItem(const CDialog& dialog, std::size_t index);

// The message box on top, as shown, once closed with OK; none without one.
struct Box {
    std::string title, text, ok;
};
std::optional<Box> CloseMessageBox();

}  // namespace tarnel::dialog::testing
