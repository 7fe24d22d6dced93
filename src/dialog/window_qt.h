#pragma once

#include "dialog/dialog.h"
#include "dialog/dialog_units_qt.h"

#include <QBasicTimer>
#include <QDialog>
#include <QMenu>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tarnel::dialog::qt {

// The dialog's widget: its controls, keys, timer and window menu. Each
// showing is one run of the dialog: it starts on controls made afresh from
// the template, and hiding ends it along with whatever it added.
class DialogWidget : public QDialog {
public:
    DialogWidget(CDialog& dialog, QWidget* parent);
    ~DialogWidget() override;

    CDialog& Dialog() const { return m_dialog; }
    QWidget* Item(int id) const;
    QWidget* FirstTabStop() const { return m_controls.firstTabStop; }
    QMenu* Menu() const { return m_extras.menu; }

    void AddMenuItem(const std::string& text, unsigned id);
    void AddToolTip(int id, std::function<std::string()> text);
    void StartTimer(int id, unsigned elapseMs);
    void StopTimer(int id);
    int TimerId() const { return m_timer.timerId(); }

    void setVisible(bool visible) override;
    // Escape and the close box: the dialog's Cancel.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    void CreateControls();
    void EndRun();

    CDialog& m_dialog;
    DialogUnits m_units;
    // Replaced as the next run starts: a control's own handler may be what
    // ends the run.
    struct Controls {
        std::vector<std::unique_ptr<QWidget>> widgets;
        std::map<int, QWidget*> byId;
        QWidget* firstTabStop = nullptr;
    } m_controls;
    // Dropped as the run ends.
    struct Extras {
        QMenu* menu = nullptr;
        std::vector<std::unique_ptr<QObject>> toolTips;
    } m_extras;
    QBasicTimer m_timer;
    int m_timerId = 0;
    bool m_tickDue = false;
};

DialogWidget& WidgetOf(const CDialog& dialog);

}  // namespace tarnel::dialog::qt
