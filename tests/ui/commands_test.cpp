#include "dialog/qt_access.h"
#include "form_messages.h"
#include "link/serial_port.h"
#include "main_dlg.h"
#include "modal_watcher.h"
#include "port_failure_text.h"
#include "pseudo_terminal.h"
#include "resource.h"
#include "sim_process.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using tarnel::test::ModalWatcher;

// The real operator window on a simulated bus, which is port 1.
class Window {
public:
    explicit Window(const std::vector<std::string>& controllers) : sim(controllers), m_ports(sim.DevicePath())
    {
        Widget()->show();
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

private:
    tarnel::test::PortsOverride m_ports;
};

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
