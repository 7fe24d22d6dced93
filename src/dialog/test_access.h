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

// Clicks button or check box `id` as the operator does, after the caller's
// handler has returned, so that a box the click opens does not hold it.
void Click(const CDialog& dialog, int id);

// Lets the toolkit take in that the timer's period has passed during the
// handler under way, as it does once that handler returns: a tick falls
// due behind input already waiting. (USER32 keeps expiries for when the
// queue is idle, so there this does nothing.)
void LetTickFallDue(const CDialog& dialog);

bool IsEnabled(const CDialog& dialog, int id);

// List `id`'s rows, each its cells in column order.
std::vector<std::vector<std::string>> ListRows(const CDialog& dialog, int id);

// Answers the file chooser on top with `path`; false without one.
bool AnswerFileChooser(const std::string& path);

// The message box on top, as shown, once closed with OK; none without one.
struct Box {
    std::string title, text, ok;
};
std::optional<Box> CloseMessageBox();

}  // namespace tarnel::dialog::testing
