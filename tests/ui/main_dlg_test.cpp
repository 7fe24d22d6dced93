#include "dialog/qt_access.h"
#include "dialog/startup_qt.h"
#include "form_messages.h"
#include "main_dlg.h"
#include "modal_watcher.h"
#include "pseudo_terminal.h"
#include "resource.h"

#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include <algorithm>
#include <span>

using tarnel::test::ModalWatcher;

class MainDlgTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CMainDlg> m_dlg;

    QDialog* Widget() const { return tarnel::dialog::qt::Widget(*m_dlg); }
    QWidget* Item(int id) const { return tarnel::dialog::qt::Item(*m_dlg, id); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Item(id)); }

private slots:
    void init()
    {
        m_dlg = std::make_unique<CMainDlg>();
        Widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Widget()));
    }

    void cleanup() { m_dlg.reset(); }

    void qtsOwnTextsAreChineseToo()
    {
        tarnel::dialog::qt::ReadyQt(*qApp);
        std::unique_ptr<QMenu> menu(Edit(IDC_PORT)->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            texts << action->text();
        }
        for (const char* expected : {"撤消", "剪切", "粘贴", "全选"}) {
            QVERIFY2(texts.filter(QString::fromUtf8(expected)).size() == 1, qPrintable(texts.join('/')));
        }
    }

    // A read takes blank-framed decimal text in each field's range, stops at
    // the first field that fails, says why once and hands that field back
    // with its text selected.
    void aReadStopsAtTheFirstFailingFieldAndHandsItBack()
    {
        const int order[] = {IDC_PORT, IDC_START_ADDR, IDC_INTERVAL, IDC_RESULT};
        const struct {
            int id;
            const char* text;
            QString says;  // empty: the read passes
        } cases[] = {
            {IDC_PORT, "0", OutOfRange(1, 99)}, {IDC_PORT, " 99\u3000", {}}, {IDC_PORT, "100", OutOfRange(1, 99)},
            {IDC_START_ADDR, "255", {}}, {IDC_START_ADDR, "256", OutOfRange(0, 255)},
            {IDC_INTERVAL, "249", OutOfRange(250, 1000)}, {IDC_INTERVAL, "1000", {}},
            {IDC_RESULT, "256", {}}, {IDC_RESULT, "+4", NotANumber()}, {IDC_RESULT, "3x", NotANumber()},
            {IDC_RESULT, "-1", NotANumber()}, {IDC_RESULT, "4294967296", NotANumber()},
            {IDC_RESULT, "4294967295", OutOfRange(0, 256)},
        };
        for (const auto& c : cases) {
            cleanup();
            init();
            Edit(c.id)->setText(QString::fromUtf8(c.text));
            if (!c.says.isEmpty()) {
                for (int later : std::span(std::ranges::find(order, c.id) + 1, std::end(order))) {
                    Edit(later)->setText("x");
                }
            }
            ModalWatcher watcher;
            QCOMPARE(m_dlg->UpdateData(true), c.says.isEmpty());
            QCOMPARE(watcher.Messages(), c.says.isEmpty() ? QStringList{} : QStringList{c.says});
            if (!c.says.isEmpty()) {
                QCOMPARE(Widget()->focusWidget(), Edit(c.id));
                QCOMPARE(Edit(c.id)->selectedText(), Edit(c.id)->text());
            }
        }
    }

    // Enter in an edit reads the form and keeps the window while a field
    // fails; on a button it is that button's click; Escape closes the window.
    void enterAndEscape()
    {
        Edit(IDC_INTERVAL)->setText("249");
        ModalWatcher watcher;
        QTest::keyClick(Edit(IDC_PORT), Qt::Key_Return);
        QCOMPARE(watcher.Messages(), QStringList{OutOfRange(250, 1000)});
        QVERIFY(Widget()->isVisible());
        Edit(IDC_INTERVAL)->setText("250");
        Item(IDC_SET_ADDR)->setFocus();
        QTest::keyClick(Item(IDC_SET_ADDR), Qt::Key_Enter);
        QCOMPARE(watcher.Messages(), (QStringList{OutOfRange(250, 1000), "请先打开串口"}));
        QTest::keyClick(Edit(IDC_PORT), Qt::Key_Escape);
        QVERIFY(!Widget()->isVisible());
    }

    // The pixels are the click tests' (they click where the controls should be).
    void controlsTakeTheFocusInTheTemplatesOrder()
    {
        QCOMPARE(Widget()->focusWidget(), Edit(IDC_START_ADDR));
        QStringList order;
        QWidget* widget = Edit(IDC_START_ADDR);
        do {
            if (widget->parentWidget() == Widget() && (widget->focusPolicy() & Qt::TabFocus)) {
                order << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        } while (widget != Edit(IDC_START_ADDR));
        QCOMPARE(order, QString("IDC_START_ADDR IDC_SEARCH IDC_PORT IDC_INTERVAL IDC_BAUD IDC_OLD_ADDR IDC_NEW_ADDR "
                                "IDC_SET_ADDR IDC_OPEN_PORT IDC_RESULT IDC_ZERO_CAL")
                            .split(' '));
    }

    void thePortTooltipListsTheCurrentPorts()
    {
        QLineEdit* port = Edit(IDC_PORT);
        tarnel::test::PortsOverride ports("/dev/pts/41::/dev/ttyUSB7");
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), port->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(port, &help);
        QVERIFY(port->toolTip().contains(QStringLiteral("1 = /dev/pts/41\n2 = /dev/ttyUSB7")));
    }
};

QTEST_MAIN(MainDlgTest)
#include "main_dlg_test.moc"
