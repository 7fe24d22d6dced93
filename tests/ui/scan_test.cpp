#include "dialog/data_exchange.h"
#include "window_fixture.h"

using tarnel::test::ModalWatcher;

class ScanTest : public QObject {
    Q_OBJECT

private slots:
    void aScanStopsAtTheFirstControllerThatAnswers()
    {
        WindowFixture w({"252"});
        w.OpenPort();
        w.Type(IDC_START_ADDR, "250");
        QStringList shown;
        connect(w.Edit(IDC_RESULT), &QLineEdit::textChanged, [&](const QString& text) { shown << text; });

        ModalWatcher watcher;
        QTest::mouseClick(w.Button(IDC_SEARCH), Qt::LeftButton);
        QCOMPARE(w.Caption(IDC_SEARCH), QStringLiteral("停止"));
        QTRY_COMPARE_WITH_TIMEOUT(watcher.Messages(), QStringList{"地址为:252"}, 3000);
        QTRY_COMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));
        QCOMPARE(w.Edit(IDC_OLD_ADDR)->text(), QStringLiteral("252"));
        QCOMPARE(shown, (QStringList{"251", "252"}));
        QTest::qWait(600);
        QCOMPARE(w.Sim().ProbedAddresses(), (std::vector<int>{250, 251, 252}));
    }

    void aScanThatFindsNothingEndsAfter255()
    {
        WindowFixture w({"1"});
        w.OpenPort();
        w.Type(IDC_START_ADDR, "255");
        {
            ModalWatcher watcher;
            QTest::mouseClick(w.Button(IDC_SEARCH), Qt::LeftButton);
            QTRY_COMPARE_WITH_TIMEOUT(watcher.Messages(), QStringList{"没有搜到地址！"}, 2000);
            QTRY_COMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));
        }
        QCOMPARE(w.Edit(IDC_RESULT)->text(), QStringLiteral("256"));
        QCOMPARE(w.Sim().ProbedAddresses(), std::vector<int>{255});

        // The 256 left in the result field names no controller.
        QCOMPARE(w.Click(IDC_ZERO_CAL), QStringList{OutOfRangeMessage(0, 255)});
        QCOMPARE(w.Sim().Requests().size(), 1u);
    }

    void theButtonStopsAScanAndNothingStartsWithoutAPortOrAValidForm()
    {
        WindowFixture w({"1"});
        QCOMPARE(w.Click(IDC_SEARCH), QStringList{"请先打开串口"});
        QCOMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));
        w.OpenPort();

        w.Type(IDC_INTERVAL, "100");
        QCOMPARE(w.Click(IDC_SEARCH), QStringList{OutOfRangeMessage(250, 1000)});
        w.Type(IDC_INTERVAL, "250");
        w.Type(IDC_START_ADDR, "300");
        QCOMPARE(w.Click(IDC_SEARCH), QStringList{OutOfRangeMessage(0, 255)});
        QCOMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));

        w.Type(IDC_START_ADDR, "10");
        QVERIFY(w.Click(IDC_SEARCH).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(w.Sim().ProbedAddresses().size(), 2u, 2000);
        QVERIFY(w.Click(IDC_SEARCH).isEmpty());
        QCOMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));
        QCOMPARE(w.Dlg().m_nResult, 0u);
        const auto probed = w.Sim().ProbedAddresses();
        QTest::qWait(600);
        QCOMPARE(w.Sim().ProbedAddresses(), probed);
        QVERIFY(probed.size() <= 3);
    }

    void closingThePortStopsTheScan()
    {
        WindowFixture w({"1"});
        w.OpenPort();
        w.Type(IDC_START_ADDR, "100");
        QVERIFY(w.Click(IDC_SEARCH).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!w.Sim().ProbedAddresses().empty(), 2000);
        QCOMPARE(w.Click(IDC_OPEN_PORT), QStringList{"串口已关闭"});
        QCOMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));
        QCOMPARE(w.Dlg().m_nResult, 0u);
        ModalWatcher watcher;
        QTest::qWait(600);
        QVERIFY(watcher.Messages().isEmpty());
    }

    void aLineThatHangsUpEndsTheScanWithOneMessage()
    {
        WindowFixture w({"1"});
        w.OpenPort();
        QVERIFY(w.Click(IDC_SEARCH).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!w.Sim().ProbedAddresses().empty(), 2000);
        ModalWatcher watcher;
        w.Sim().HangUp();
        QTRY_COMPARE_WITH_TIMEOUT(watcher.Messages().size(), 1, 1000);
        QCOMPARE(watcher.Messages()[0],
                 QStringLiteral("串口已关闭 | %1：设备已断开。").arg(QString::fromStdString(w.Sim().DevicePath())));
        QCOMPARE(w.Caption(IDC_SEARCH), QStringLiteral("搜索"));
        QCOMPARE(w.Caption(IDC_OPEN_PORT), QStringLiteral("打开串口"));
        QVERIFY(!w.Dlg().m_port.IsOpen());
        QTest::qWait(600);
        QCOMPARE(watcher.Messages().size(), 1);
    }
};

QTEST_MAIN(ScanTest)
#include "scan_test.moc"
