#pragma once

#include <optional>
#include <string>

class CDialog;

// What the dialogs ask of the desktop beyond their own windows.
namespace tarnel::dialog {

// Asks the operator, over `owner`, for a file to keep adding to: an
// existing one, or the name of a new one, starting at `suggested`. Nothing
// is opened or overwritten here; none when the operator cancels.
std::optional<std::string> ChooseFile(CDialog& owner, const std::string& title, const std::string& suggested);

// The user's documents folder.
std::string DocumentsFolder();

// Opens the file at `path` in the program the desktop has for its kind,
// such as a page in the browser, and returns at once; false when no such
// program could be started.
bool OpenDocument(const std::string& path);

// The system's bell.
void Beep();

}  // namespace tarnel::dialog
