#include "dialog/data_exchange.h"
#include "port_failure_text.h"
#include "window_fixture.h"

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void openCloseAndTheirFailures()
    {
        WindowFixture w({"1"});
        w.OpenPort();
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("关闭串口"));
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{"串口已关闭"});
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("打开串口"));
        QVERIFY(!w.Dlg().m_port.IsOpen());

        w.Type(IDC_PORT, "2");
        const QStringList failed = w.Click(IDC_OPEN_PORT);
        QVERIFY2(failed.size() == 1 && failed[0].startsWith(QStringLiteral("打开串口失败 | 串口号 2 没有对应的串口设备")),
                 qPrintable(failed.join('/')));
        w.Type(IDC_PORT, "0");
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{OutOfRangeMessage(1, 99)});
        w.Type(IDC_PORT, "1");
        tarnel::link::PortHandle other = tarnel::link::OpenPort(1, 3);
        QCOMPARE(w.Click(IDC_OPEN_PORT),
                 QStringList{QStringLiteral("打开串口失败 | %1：串口正被其他程序占用。").arg(w.Sim().DevicePath().c_str())});
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("打开串口"));
        QVERIFY(!w.Dlg().m_port.IsOpen());
    }

    void aFailedOpenSaysWhichDeviceAndWhy()
    {
        const auto say = [](const std::string& device, std::errc error) {
            return DescribeOpenFailure(3, {device, std::make_error_code(error)});
        };
        QVERIFY(say("", std::errc::no_such_device).startsWith(QStringLiteral("串口号 3 没有对应的串口设备")));
        QCOMPARE(say("/dev/ttyUSB0", std::errc::no_such_file_or_directory), QStringLiteral("/dev/ttyUSB0：设备不存在。"));
        QVERIFY(say("/dev/ttyUSB0", std::errc::permission_denied).contains(QStringLiteral("dialout")));
        QVERIFY(say("/dev/ttyS0", std::errc::invalid_argument).startsWith(QStringLiteral("/dev/ttyS0：")));
    }

    void setAddressAndCalibrationReportAndAddressTheResultField()
    {
        WindowFixture w({"1", "5,wet"});
        for (int id : {IDC_SET_ADDR, IDC_ZERO_CAL}) {
            QCOMPARE(w.Click(id), QStringList{"请先打开串口"});
        }
        w.OpenPort();
        w.Type(IDC_OLD_ADDR, "1");
        w.Type(IDC_NEW_ADDR, "2");
        QCOMPARE(w.Click(IDC_SET_ADDR), QStringList{"设置成功"});
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("2"));
        w.Type(IDC_OLD_ADDR, "9");
        w.Type(IDC_NEW_ADDR, "3");
        QCOMPARE(w.Click(IDC_SET_ADDR), QStringList{"设置失败"});
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("3"));

        w.Type(IDC_RESULT, "5");
        QCOMPARE(w.Click(IDC_ZERO_CAL), QStringList{"设置成功"});
        w.Type(IDC_RESULT, "2");
        QCOMPARE(w.Click(IDC_ZERO_CAL), QStringList{"设置失败"});  // its rope is dry
        const auto requests = w.Sim().Requests();
        QCOMPARE(requests.size(), 4u);
        QVERIFY(requests[0].starts_with("01 06 80 01 00 01 00 02"));
        QVERIFY(requests[2].starts_with("05 04 40 08 00 01"));
        QVERIFY(requests[3].starts_with("02 04 40 08 00 01"));
    }

    void badAddressTextIsRefusedWithNothingOnTheWire_data()
    {
        QTest::addColumn<QString>("oldAddress");
        QTest::addColumn<QString>("newAddress");
        QTest::addColumn<int>("blamed");
        QTest::addColumn<QString>("message");
        QTest::newRow("new 260") << "1" << "260" << IDC_NEW_ADDR << OutOfRangeMessage(0, 255);
        QTest::newRow("new empty") << "1" << "" << IDC_NEW_ADDR << NotANumberMessage();
        QTest::newRow("old -1") << "-1" << "2" << IDC_OLD_ADDR << NotANumberMessage();
    }

    void badAddressTextIsRefusedWithNothingOnTheWire()
    {
        QFETCH(QString, oldAddress);
        QFETCH(QString, newAddress);
        QFETCH(int, blamed);
        QFETCH(QString, message);
        WindowFixture w({"1"});
        w.OpenPort();
        w.Type(IDC_OLD_ADDR, oldAddress);
        w.Type(IDC_NEW_ADDR, newAddress);
        QCOMPARE(w.Click(IDC_SET_ADDR), QStringList{message});
        QCOMPARE(w.Dlg().focusWidget(), w.Edit(blamed));
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("0"));
        QTest::qWait(100);
        QVERIFY(w.Sim().Requests().empty());
    }

    void aLineThatHangsUpIsClosedAndTheOperatorTold()
    {
        WindowFixture w({"1"});
        w.OpenPort();
        w.Type(IDC_OLD_ADDR, "1");
        w.Type(IDC_NEW_ADDR, "2");
        w.Sim().HangUp();
        QCOMPARE(w.Click(IDC_SET_ADDR),
                 QStringList{QStringLiteral("设置失败 | %1：设备已断开。").arg(w.Sim().DevicePath().c_str())});
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("打开串口"));
        QVERIFY(!w.Dlg().m_port.IsOpen());
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("2"));
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
