#pragma once

#include "dialog/dialog_template.h"
#include "dialog/dialog_units.h"

#include <QBasicTimer>
#include <QDialog>
#include <functional>
#include <map>

class CDataExchange;

// A modal dialog built from a template, in the manner of the classic dialog
// framework: controls addressed by ID, a form exchange run in either
// direction, one-time initialisation before the first show, OK and Cancel
// defaults, and a window timer.
class CDialog : public QDialog {
public:
    explicit CDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);

    int DoModal() { return exec(); }

    // Runs DoDataExchange: controls into fields with validation (true), or
    // fields into controls. Returns whether every field passed.
    bool UpdateData(bool saveAndValidate = true);

    QWidget* GetDlgItem(int id) const;

    // The text of an edit or the caption of a button.
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);

    // One precise window timer; starting it again restarts it, stopping a
    // stopped timer does nothing. The first tick comes one period after the
    // start. A tick is handled only once the input and repaints waiting at
    // its expiry are done, never inside another handler's work, and expiries
    // that fall due meanwhile merge into that one tick.
    void SetTimer(int id, unsigned elapseMs);
    void KillTimer(int id);

    const DialogUnits& Units() const { return m_units; }

    // Where the routing table sends timer ticks and window-menu commands.
    void RouteTimer(std::function<void(int)> handler) { m_timerRoute = std::move(handler); }
    void RouteSysCommand(std::function<void(unsigned)> handler) { m_sysCommandRoute = std::move(handler); }

    void setVisible(bool visible) override;

protected:
    virtual void DoDataExchange(CDataExchange*) {}

    // Fills the lists from the template and writes the form. Return true to
    // put the focus on the first tab stop.
    virtual bool OnInitDialog();

    // Reads the form and closes the dialog when every field passes.
    virtual void OnOK();

    void SysCommand(unsigned id);

    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void CreateControls(const DialogTemplate& dialogTemplate);

    const DialogTemplate& m_template;
    DialogUnits m_units;
    std::map<int, QWidget*> m_items;
    QWidget* m_firstTabStop = nullptr;
    bool m_bInitialized = false;
    QBasicTimer m_timer;
    int m_nTimerId = 0;
    bool m_bTickDue = false;
    std::function<void(int)> m_timerRoute;
    std::function<void(unsigned)> m_sysCommandRoute;
};
