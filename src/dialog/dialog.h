#pragma once

#include "dialog/dialog_template.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDataExchange;

namespace tarnel::dialog {
class Window;
struct Backend;
}

// A modal dialog built from a template, in the manner of the classic dialog
// framework: controls addressed by ID, a form exchange run in either
// direction, initialisation at the start of each run, OK and Cancel
// defaults, a window timer, and a routing table. Texts are UTF-8.
//
// Each DoModal is a run of its own: OnInitDialog starts it on controls as
// the template describes them, and whatever the run added (list entries,
// tooltips, window-menu items, the timer) ends with it. Every call that
// reaches a control belongs in OnInitDialog or later, within the run.
class CDialog {
public:
    explicit CDialog(const DialogTemplate& dialogTemplate, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog until OK or Cancel ends it; returns which.
    int DoModal();
    void EndDialog(int result);

    // Runs DoDataExchange: controls into fields with validation (true), or
    // fields into controls. Returns whether every field passed.
    bool UpdateData(bool saveAndValidate = true);

    // The text of an edit, a label or a text, or the caption of a button;
    // lines end in '\n'.
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);

    bool IsDlgButtonChecked(int id) const;
    void CheckDlgButton(int id, bool checked);

    // Whether the operator can use control `id`.
    void EnableDlgItem(int id, bool enabled);

    // A row of cells, one a column, at the end of list `id`; emptying it.
    void AddListRow(int id, const std::vector<std::string>& cells);
    void ClearList(int id);

    // One window timer; starting it again restarts it and drops a tick
    // already due, stopping a stopped timer does nothing. The first tick
    // comes one period after the start. A tick is handled only once the
    // input and repaints waiting at its expiry are done, never inside
    // another handler's work, and expiries that fall due meanwhile merge
    // into that one tick. Ticks go on inside message boxes and other
    // dialogs' modal runs.
    void SetTimer(int id, unsigned elapseMs);
    void KillTimer(int id);

    // Appends the item `text` with command `id` (its low four bits clear) to
    // the window menu, the first of a run after a separator; its commands
    // reach the SysCommand route as `id`, whatever bits the system adds.
    void AppendToSystemMenu(const std::string& text, unsigned id);

    // The window's icon, large and small, from the program's resources.
    void SetIcon(int iconResource);

    // Shows the text that `text` makes, at the moment it shows, as the
    // tooltip of control `id`.
    void SetToolTip(int id, std::function<std::string()> text);

    // Where the routing table sends clicks, timer ticks and window-menu commands.
    void RouteClicked(int id, std::function<void()> handler) { m_clickRoutes[id] = std::move(handler); }
    void RouteTimer(std::function<void(int)> handler) { m_timerRoute = std::move(handler); }
    void RouteSysCommand(std::function<void(unsigned)> handler) { m_sysCommandRoute = std::move(handler); }

    const DialogTemplate& Template() const { return m_template; }
    CDialog* Parent() const { return m_pParent; }

protected:
    virtual void DoDataExchange(CDataExchange*) {}

    // Fills the lists from the template and writes the form. Return true to
    // put the focus on the first tab stop.
    virtual bool OnInitDialog();

    // Reads the form and closes the dialog when every field passes.
    virtual void OnOK();
    // Escape, the close box, or a Cancel button: closes the dialog.
    virtual void OnCancel();

private:
    // The backend reaches the window and reports what happens to it here.
    friend struct tarnel::dialog::Backend;
    void Initialize();
    void Clicked(int id);
    void Tick(int id);
    void SysCommand(unsigned id);

    const DialogTemplate& m_template;
    CDialog* m_pParent;
    std::unique_ptr<tarnel::dialog::Window> m_window;
    std::map<int, std::function<void()>> m_clickRoutes;
    std::function<void(int)> m_timerRoute;
    std::function<void(unsigned)> m_sysCommandRoute;
};
