// The operator window on Qt: its form, and its commands on a simulated bus.

#include "dialog/data_exchange.h"
#include "dialog/qt_access.h"
#include "dialog/startup_qt.h"
#include "link/serial_port.h"
#include "main_dlg.h"
#include "port_failure_text.h"
#include "pseudo_terminal.h"
#include "resource.h"
#include "sim_process.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <span>

// The form's two validation messages, as the message boxes show them.
const auto OutOfRange = [](std::uint32_t min, std::uint32_t max) {
    return QString::fromStdString(OutOfRangeMessage(min, max));
};
const auto NotANumber = [] { return QString::fromStdString(NotANumberMessage()); };

// Watches for message boxes as the operator would see them, inside whatever
// event loop is current, nested ones included, and closes each with OK.
class ModalWatcher : public QObject {
public:
    ModalWatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatcher::Poll);
        m_timer.start(5);
    }

    // The text of every message box seen so far, with its informative line
    // after " | " when it has one.
    QStringList Messages() const { return m_messages; }

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_last) {
            return;
        }
        m_last = box;
        if (box->objectName() == QStringLiteral("TarnelMessageBox")) {
            const QString more = box->informativeText();
            m_messages << (more.isEmpty() ? box->text() : box->text() + " | " + more);
        }
        box->accept();
    }

    QStringList m_messages;
    QPointer<QMessageBox> m_last;
    QTimer m_timer;
};

// The real operator window on a simulated bus, which is port 1.
struct Window {
    explicit Window(const std::vector<std::string>& controllers = {"1"})
        : sim(controllers), m_ports(sim.DevicePath())
    {
        Widget()->show();
        if (!QTest::qWaitForWindowExposed(Widget())) {
            qFatal("the window did not show");
        }
    }

    QDialog* Widget() { return tarnel::dialog::qt::Widget(dlg); }
    QWidget* Item(int id) { return tarnel::dialog::qt::Item(dlg, id); }
    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(Item(id)); }
    QComboBox* Baud() { return qobject_cast<QComboBox*>(Item(IDC_BAUD)); }
    QString Caption(int id) { return qobject_cast<QPushButton*>(Item(id))->text(); }

    void Type(std::initializer_list<std::pair<int, const char*>> fields)
    {
        for (const auto& [id, text] : fields) {
            Edit(id)->setText(QString::fromUtf8(text));
        }
    }

    // Clicks a button as the operator does: the messages shown meanwhile,
    // each closed with OK.
    QStringList Click(int id)
    {
        ModalWatcher watcher;
        QTest::mouseClick(Item(id), Qt::LeftButton);
        return watcher.Messages();
    }

    void OpenPort() { QCOMPARE(Click(IDC_OPEN_PORT), QStringList{"打开成功"}); }

    tarnel::test::SimProcess sim;
    CMainDlg dlg;

    tarnel::test::PortsOverride m_ports;
};

class MainDlgTest : public QObject {
    Q_OBJECT

private slots:
    void qtsOwnTextsAreChineseToo()
    {
        Window w;
        tarnel::dialog::qt::ReadyQt(*qApp);
        std::unique_ptr<QMenu> menu(w.Edit(IDC_PORT)->createStandardContextMenu());
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
        // What the read says of a field's text: nothing when it passes.
        const struct { int id; const char* text; QString says; } cases[] = {
            {IDC_PORT, "0", OutOfRange(1, 99)}, {IDC_PORT, " 99\u3000", {}}, {IDC_PORT, "100", OutOfRange(1, 99)},
            {IDC_START_ADDR, "255", {}}, {IDC_START_ADDR, "256", OutOfRange(0, 255)},
            {IDC_INTERVAL, "249", OutOfRange(250, 1000)}, {IDC_INTERVAL, "1000", {}},
            {IDC_RESULT, "256", {}}, {IDC_RESULT, "+4", NotANumber()}, {IDC_RESULT, "3x", NotANumber()},
            {IDC_RESULT, "-1", NotANumber()}, {IDC_RESULT, "4294967296", NotANumber()},
            {IDC_RESULT, "4294967295", OutOfRange(0, 256)},
        };
        for (const auto& c : cases) {
            Window w;
            w.Type({{c.id, c.text}});
            if (!c.says.isEmpty()) {
                for (int later : std::span(std::ranges::find(order, c.id) + 1, std::end(order))) {
                    w.Type({{later, "x"}});
                }
            }
            ModalWatcher watcher;
            QCOMPARE(w.dlg.UpdateData(true), c.says.isEmpty());
            QCOMPARE(watcher.Messages(), c.says.isEmpty() ? QStringList{} : QStringList{c.says});
            if (!c.says.isEmpty()) {
                QCOMPARE(w.Widget()->focusWidget(), w.Edit(c.id));
                QCOMPARE(w.Edit(c.id)->selectedText(), w.Edit(c.id)->text());
            }
        }
    }

    // Enter in an edit reads the form and keeps the window while a field
    // fails; on a button it is that button's click; Escape closes the window.
    void enterAndEscape()
    {
        Window w;
        w.Type({{IDC_INTERVAL, "249"}});
        ModalWatcher watcher;
        QTest::keyClick(w.Edit(IDC_PORT), Qt::Key_Return);
        QCOMPARE(watcher.Messages(), QStringList{OutOfRange(250, 1000)});
        QVERIFY(w.Widget()->isVisible());
        w.Type({{IDC_INTERVAL, "250"}});
        w.Item(IDC_SET_ADDR)->setFocus();
        QTest::keyClick(w.Item(IDC_SET_ADDR), Qt::Key_Enter);
        QCOMPARE(watcher.Messages(), (QStringList{OutOfRange(250, 1000), "请先打开串口"}));
        QTest::keyClick(w.Edit(IDC_PORT), Qt::Key_Escape);
        QVERIFY(!w.Widget()->isVisible());
    }

    // The pixels are the click tests' (they click where the controls should be).
    void controlsTakeTheFocusInTheTemplatesOrder()
    {
        Window w;
        QCOMPARE(w.Widget()->focusWidget(), w.Edit(IDC_START_ADDR));
        QStringList order;
        QWidget* widget = w.Edit(IDC_START_ADDR);
        do {
            if (widget->parentWidget() == w.Widget() && (widget->focusPolicy() & Qt::TabFocus)) {
                order << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        } while (widget != w.Edit(IDC_START_ADDR));
        QCOMPARE(order, QString("IDC_START_ADDR IDC_SEARCH IDC_PORT IDC_INTERVAL IDC_BAUD IDC_OLD_ADDR IDC_NEW_ADDR "
                                "IDC_SET_ADDR IDC_OPEN_PORT IDC_RESULT IDC_ZERO_CAL")
                            .split(' '));
    }

    void thePortTooltipListsTheCurrentPorts()
    {
        Window w;
        QLineEdit* port = w.Edit(IDC_PORT);
        tarnel::test::PortsOverride ports("/dev/pts/41::/dev/ttyUSB7");
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), port->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(port, &help);
        QVERIFY(port->toolTip().contains(QStringLiteral("1 = /dev/pts/41\n2 = /dev/ttyUSB7")));
    }

    void openCloseAndTheirFailures()
    {
        Window w({"1"});
        w.OpenPort();
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("关闭串口"));
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{"串口已关闭"});
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("打开串口"));
        QVERIFY(!w.dlg.m_port.IsOpen());

        w.Type({{IDC_PORT, "2"}});
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{"打开串口失败 | 串口号 2 没有对应的串口设备（现有 1 个串口）。"});
        w.Type({{IDC_PORT, "0"}});
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{OutOfRange(1, 99)});
        w.Type({{IDC_PORT, "1"}});
        tarnel::platform::SerialLine other = tarnel::link::OpenPort(1, 3);
        QCOMPARE(w.Click(IDC_OPEN_PORT),
                 QStringList{QStringLiteral("打开串口失败 | %1：串口正被其他程序占用。").arg(w.sim.DevicePath().c_str())});
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("打开串口"));

        // Text typed into the baud list leaves no selection: the port keeps
        // the speed it had (19200, set by the open before), not the entry
        // that was selected (1200), and 8N1 all the same.
        other.Close();
        w.Baud()->setCurrentIndex(4);
        w.OpenPort();
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{"串口已关闭"});
        w.Baud()->setCurrentIndex(0);
        w.Baud()->setEditText(QStringLiteral("2400"));
        w.OpenPort();
        tarnel::platform::LineSettings settings;
        QVERIFY(w.dlg.m_port.ReadSettings(settings));
        QCOMPARE(settings, (tarnel::platform::LineSettings{19200, 8, false, false, false, settings.abortOnError}));

        const auto say = [](std::errc error) {
            return QString::fromStdString(DescribeOpenFailure(3, {"/dev/ttyUSB0", std::make_error_code(error)}));
        };
        QCOMPARE(say(std::errc::no_such_file_or_directory), QStringLiteral("/dev/ttyUSB0：设备不存在。"));
        QVERIFY(say(std::errc::permission_denied).contains(QStringLiteral("dialout")));
    }

    void setAddressAndCalibrationReportAndAddressTheResultField()
    {
        Window w({"1", "5,wet"});
        for (int id : {IDC_SET_ADDR, IDC_ZERO_CAL, IDC_SEARCH}) {
            QCOMPARE(w.Click(id), QStringList{"请先打开串口"});
        }
        w.OpenPort();
        // Bad address text: the field is blamed and nothing goes on the wire.
        w.Type({{IDC_OLD_ADDR, "1"}, {IDC_NEW_ADDR, "256"}});
        QCOMPARE(w.Click(IDC_SET_ADDR), QStringList{OutOfRange(0, 255)});
        QCOMPARE(w.Widget()->focusWidget(), w.Edit(IDC_NEW_ADDR));
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("0"));
        QVERIFY(w.sim.Requests().empty());

        w.Type({{IDC_OLD_ADDR, "1"}, {IDC_NEW_ADDR, "2"}});
        QCOMPARE(w.Click(IDC_SET_ADDR), QStringList{"设置成功"});
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("2"));
        w.Type({{IDC_OLD_ADDR, "9"}, {IDC_NEW_ADDR, "3"}});
        QCOMPARE(w.Click(IDC_SET_ADDR), QStringList{"设置失败"});
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("3"));

        w.Type({{IDC_RESULT, "5"}});
        QCOMPARE(w.Click(IDC_ZERO_CAL), QStringList{"设置成功"});
        w.Type({{IDC_RESULT, "2"}});
        QCOMPARE(w.Click(IDC_ZERO_CAL), QStringList{"设置失败"});  // its rope is dry
    }

    // The scan's own rules are tested apart from the window, and its end and
    // a hang-up under real clicks; here, closing the port under a scan.
    void closingThePortStopsAScanWithoutAWord()
    {
        Window w({"1"});
        w.OpenPort();
        w.Type({{IDC_START_ADDR, "100"}});
        QVERIFY(w.Click(IDC_SEARCH).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(w.sim.Requests().size(), 1u, 2000);
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{"串口已关闭"});
        QCOMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));
        const auto sent = w.sim.Requests().size();
        ModalWatcher watcher;
        QTest::qWait(600);
        QVERIFY(watcher.Messages().isEmpty());
        QCOMPARE(w.sim.Requests().size(), sent);
    }

    // A hang-up during a scan is the click tests'; here, before a command.
    void aLineThatHangsUpIsClosedAndTheOperatorTold()
    {
        Window w({"1"});
        w.OpenPort();
        w.Type({{IDC_OLD_ADDR, "1"}, {IDC_NEW_ADDR, "2"}});
        w.sim.HangUp();
        QCOMPARE(w.Click(IDC_SET_ADDR),
                 QStringList{QStringLiteral("设置失败 | %1：设备已断开。").arg(w.sim.DevicePath().c_str())});
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("打开串口"));
        QVERIFY(!w.dlg.m_port.IsOpen());
    }
};

QTEST_MAIN(MainDlgTest)
#include "main_dlg_test.moc"
