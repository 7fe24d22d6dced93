#pragma once

#include "dialog/dialog.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarnel::dialog {

// The toolkit's side of one dialog: its window and its controls, found by
// ID. Each backend makes one for the CDialog it serves and reports what
// happens to it through Backend. Everything a run adds is dropped when
// that run ends. Texts are UTF-8.
class Window {
public:
    static std::unique_ptr<Window> Create(CDialog& dialog);
    virtual ~Window() = default;

    // Shows the dialog and runs its own event loop until End.
    virtual int RunModal() = 0;
    virtual void End(int result) = 0;

    // An edit's, a label's or a text's text, or a button's caption; lines
    // end in '\n'.
    virtual std::string Text(int id) const = 0;
    virtual void SetText(int id, const std::string& text) = 0;

    virtual bool IsChecked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;
    virtual void Enable(int id, bool enabled) = 0;

    virtual void AddRow(int id, const std::vector<std::string>& cells) = 0;
    virtual void ClearRows(int id) = 0;

    virtual void FocusFirstTabStop() = 0;
    // The focus on edit `id`, with its text selected.
    virtual void FocusAndSelect(int id) = 0;

    // A list's entries and its selection: -1 for none, also when the text
    // typed into its edit names no entry.
    virtual void AddItem(int id, const std::string& text) = 0;
    virtual int Selection(int id) const = 0;
    virtual void Select(int id, int index) = 0;

    virtual void StartTimer(int id, unsigned elapseMs) = 0;
    virtual void StopTimer(int id) = 0;

    virtual void AppendToSystemMenu(const std::string& text, unsigned id) = 0;
    virtual void SetIcon(int resource) = 0;
    virtual void SetToolTip(int id, std::function<std::string()> text) = 0;
};

// The framework's way into a dialog, for the backend alone: the dialog's
// window, and what happens to it in the dialog's terms.
struct Backend {
    static Window& WindowOf(const CDialog& dialog) { return *dialog.m_window; }

    static void Initialize(CDialog& dialog) { dialog.Initialize(); }
    static void Clicked(CDialog& dialog, int id) { dialog.Clicked(id); }
    static void Tick(CDialog& dialog, int id) { dialog.Tick(id); }
    // `command` without the low four bits the system uses for itself.
    static void SysCommand(CDialog& dialog, unsigned command) { dialog.SysCommand(command); }
};

}  // namespace tarnel::dialog
