#include "about_dlg.h"
#include "dialog/data_exchange.h"
#include "main_app.h"
#include "main_dlg.h"
#include "dialog/message_box.h"
#include "modal_watcher.h"
#include "pseudo_terminal.h"
#include "resource.h"
#include "templates.h"

#include <QComboBox>
#include <QFontInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using tarnel::test::ModalWatcher;

class MainDlgTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CMainDlg> m_dlg;

    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(m_dlg->GetDlgItem(id)); }

    void Type(int id, const QString& text) const { Edit(id)->setText(text); }

    // Reads the form and returns the messages it showed.
    QStringList Read(bool expectPass)
    {
        ModalWatcher watcher;
        const bool passed = m_dlg->UpdateData(true);
        [&] { QCOMPARE(passed, expectPass); }();
        return watcher.Messages();
    }

private slots:
    void init()
    {
        m_dlg = std::make_unique<CMainDlg>();
        m_dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    }

    void cleanup() { m_dlg.reset(); }

    void startsWithTheDefaults()
    {
        QCOMPARE(m_dlg->windowTitle(), QStringLiteral("Tarnel"));
        QCOMPARE(Edit(IDC_PORT)->text(), QStringLiteral("1"));
        QCOMPARE(Edit(IDC_START_ADDR)->text(), QStringLiteral("0"));
        QCOMPARE(Edit(IDC_INTERVAL)->text(), QStringLiteral("250"));
        QCOMPARE(Edit(IDC_RESULT)->text(), QStringLiteral("0"));
        QVERIFY(Edit(IDC_OLD_ADDR)->text().isEmpty());
        QVERIFY(Edit(IDC_NEW_ADDR)->text().isEmpty());

        QComboBox* baud = m_dlg->m_cbBaud;
        QVERIFY(baud && baud->isEditable());
        const QStringList entries{"1200.n.8.1", "2400.n.8.1", "4800.n.8.1", "9600.n.8.1", "19200.n.8.1"};
        QCOMPARE(baud->count(), entries.size());
        for (int i = 0; i < baud->count(); ++i) {
            QCOMPARE(baud->itemText(i), entries[i]);
        }
        QCOMPARE(baud->currentIndex(), 3);
        QCOMPARE(baud->currentText(), QStringLiteral("9600.n.8.1"));

        QCOMPARE(m_dlg->focusWidget(), Edit(IDC_START_ADDR));
        const auto actions = m_dlg->SystemMenu()->actions();
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions[0]->text(), QStringLiteral("关于 Tarnel(&A)..."));
        QCOMPARE(actions[0]->data().toUInt(), IDM_ABOUTBOX);

        const QList<QSize> iconSizes = m_dlg->windowIcon().availableSizes();
        QVERIFY(iconSizes.contains(QSize(16, 16)));
        QVERIFY(iconSizes.contains(QSize(32, 32)));
    }

    void qtsOwnTextsAreChineseToo()
    {
        LoadChineseQtTexts(*qApp);
        std::unique_ptr<QMenu> menu(Edit(IDC_PORT)->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            texts << action->text();
        }
        for (const char* expected : {"撤消", "剪切", "粘贴", "全选"}) {
            QVERIFY2(texts.filter(QString::fromUtf8(expected)).size() == 1, qPrintable(texts.join('/')));
        }

        QString button;
        ModalWatcher watcher([&](QDialog* box) {
            button = qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->text();
            box->accept();
        });
        AfxMessageBox(QStringLiteral("设置成功"));
        QCOMPARE(button, QStringLiteral("确定"));
    }

    void rangeBoundsOfEveryField_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");  // empty: the read passes
        const QString port = OutOfRangeMessage(1, 99);
        const QString start = OutOfRangeMessage(0, 255);
        const QString period = OutOfRangeMessage(250, 1000);
        const QString result = OutOfRangeMessage(0, 256);
        QTest::newRow("port 1") << IDC_PORT << "1" << QString();
        QTest::newRow("port 99") << IDC_PORT << "99" << QString();
        QTest::newRow("port 0") << IDC_PORT << "0" << port;
        QTest::newRow("port 100") << IDC_PORT << "100" << port;
        QTest::newRow("start 0") << IDC_START_ADDR << "0" << QString();
        QTest::newRow("start 255") << IDC_START_ADDR << "255" << QString();
        QTest::newRow("start 256") << IDC_START_ADDR << "256" << start;
        QTest::newRow("period 250") << IDC_INTERVAL << "250" << QString();
        QTest::newRow("period 1000") << IDC_INTERVAL << "1000" << QString();
        QTest::newRow("period 249") << IDC_INTERVAL << "249" << period;
        QTest::newRow("period 1001") << IDC_INTERVAL << "1001" << period;
        QTest::newRow("result 0") << IDC_RESULT << "0" << QString();
        QTest::newRow("result 256") << IDC_RESULT << "256" << QString();
        QTest::newRow("result 257") << IDC_RESULT << "257" << result;
        QTest::newRow("blanks around") << IDC_PORT << " 42 " << QString();
        QTest::newRow("sign") << IDC_PORT << "+4" << NotANumberMessage();
        QTest::newRow("minus") << IDC_START_ADDR << "-1" << NotANumberMessage();
        QTest::newRow("empty") << IDC_RESULT << "" << NotANumberMessage();
        QTest::newRow("beyond 32 bits") << IDC_INTERVAL << "4294967296" << NotANumberMessage();
        QTest::newRow("largest 32 bits") << IDC_INTERVAL << "4294967295" << period;
    }

    void rangeBoundsOfEveryField()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Type(id, text);
        const QStringList shown = Read(message.isEmpty());
        QCOMPARE(shown, message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty()) {
            QCOMPARE(m_dlg->focusWidget(), Edit(id));
            QCOMPARE(Edit(id)->selectedText(), text);
        }
    }

    void aFailedReadStopsAtTheFailingField()
    {
        Type(IDC_PORT, "0");
        Type(IDC_START_ADDR, "17");
        Type(IDC_INTERVAL, "500");
        QCOMPARE(Read(false), QStringList{OutOfRangeMessage(1, 99)});
        QCOMPARE(m_dlg->m_nPort, 0u);  // the rejected value stays
        QCOMPARE(m_dlg->m_nStartAddr, 0u);
        QCOMPARE(m_dlg->m_nInterval, 250u);

        Type(IDC_PORT, "3");
        Type(IDC_INTERVAL, "abc");
        Type(IDC_RESULT, "5");
        QCOMPARE(Read(false), QStringList{NotANumberMessage()});
        QCOMPARE(m_dlg->m_nPort, 3u);
        QCOMPARE(m_dlg->m_nStartAddr, 17u);
        QCOMPARE(m_dlg->m_nInterval, 250u);
        QCOMPARE(m_dlg->m_nResult, 0u);
    }

    void writingAfterAFailedReadShowsTheStoredValue()
    {
        Type(IDC_INTERVAL, "100");
        Read(false);
        QCOMPARE(m_dlg->m_nInterval, 100u);
        Type(IDC_INTERVAL, "");
        ModalWatcher watcher;
        QVERIFY(m_dlg->UpdateData(false));
        QCOMPARE(Edit(IDC_INTERVAL)->text(), QStringLiteral("100"));
        QVERIFY(watcher.Messages().isEmpty());
    }

    void enterInAnEditClosesOnlyWhenEveryFieldPasses()
    {
        ModalWatcher watcher;
        Type(IDC_INTERVAL, "249");
        QTest::keyClick(Edit(IDC_PORT), Qt::Key_Return);
        QTRY_COMPARE(watcher.Messages(), QStringList{OutOfRangeMessage(250, 1000)});
        QVERIFY(m_dlg->isVisible());

        Type(IDC_INTERVAL, "300");
        QTest::keyClick(m_dlg->m_cbBaud->lineEdit(), Qt::Key_Enter);
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->result(), int(QDialog::Accepted));
        QCOMPARE(m_dlg->m_nInterval, 300u);
    }

    void enterOnAFocusedButtonClicksItAndEscapeCancels()
    {
        auto* search = qobject_cast<QPushButton*>(m_dlg->GetDlgItem(IDC_SEARCH));
        search->setFocus();
        ModalWatcher watcher;
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(watcher.Messages(), QStringList{"请先打开串口"});
        QVERIFY(m_dlg->isVisible());

        QTest::keyClick(Edit(IDC_PORT), Qt::Key_Escape);
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->result(), int(QDialog::Rejected));
    }

    void controlsSitWhereTheTemplatePutsThemInTabOrder()
    {
        const DialogUnits& units = m_dlg->Units();
        QCOMPARE(m_dlg->size(), QSize(units.ToPixelsX(312), units.ToPixelsY(233)));
        const QFontInfo face(m_dlg->font());
        if (face.family().contains(QStringLiteral("UMing")) && m_dlg->logicalDpiY() == 96) {
            QCOMPARE(units.baseX, 6);
            QCOMPARE(units.baseY, 12);
            QCOMPARE(m_dlg->size(), QSize(468, 350));
        }

        QWidget* expectedNext = nullptr;
        QWidget* previous = nullptr;
        for (const ControlTemplate& control : kMainDialogTemplate.controls) {
            const QString name = QString::fromUtf8(control.name);
            if (name.isEmpty()) {
                continue;
            }
            QWidget* widget = m_dlg->findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable(name));
            QCOMPARE(widget->property("controlId").toInt(), control.id);
            const QRect expected = units.ToPixels(control.x, control.y, control.cx, control.cy);
            if (control.kind == ControlKind::Combo) {
                QCOMPARE(widget->geometry().topLeft(), expected.topLeft());
                QCOMPARE(widget->width(), expected.width());
            } else {
                QCOMPARE(widget->geometry(), expected);
            }
            if (control.accessibleName) {
                QCOMPARE(widget->accessibleName(), QString::fromUtf8(control.accessibleName));
            }
            if (widget->focusPolicy() & Qt::TabFocus) {
                if (previous) {
                    QCOMPARE(expectedNext, widget);
                }
                QWidget* next = widget->nextInFocusChain();
                while (next && (next->parentWidget() != m_dlg.get() || !(next->focusPolicy() & Qt::TabFocus))) {
                    next = next->nextInFocusChain();
                }
                expectedNext = next;
                previous = widget;
            }
        }
    }

    void theAboutBoxOpensFromTheAboutCommandAndCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Escape") << "Escape";
    }

    void theAboutBoxOpensFromTheAboutCommandAndCloses()
    {
        QFETCH(QString, how);
        bool seen = false;
        ModalWatcher watcher([&](QDialog* dialog) {
            auto* about = dynamic_cast<CAboutDlg*>(dialog);
            QVERIFY(about);
            seen = true;
            QCOMPARE(about->windowTitle(), QStringLiteral("关于 Tarnel"));
            QStringList labels;
            for (const QLabel* label : about->findChildren<QLabel*>()) {
                labels << label->text();
            }
            QVERIFY2(labels.contains(QStringLiteral("Tarnel 1.0 版")), qPrintable(labels.join('/')));
            auto* ok = qobject_cast<QPushButton*>(about->GetDlgItem(IDOK));
            QCOMPARE(ok->text(), QStringLiteral("确定"));
            QVERIFY(ok->isDefault());
            if (how == "OK") {
                QTest::mouseClick(ok, Qt::LeftButton);
            } else {
                QTest::keyClick(about, how == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
            }
        });
        m_dlg->SystemMenu()->actions().first()->trigger();
        QVERIFY(seen);
        QVERIFY(m_dlg->isVisible());
    }

    void onlyTheAboutCommandsOpenTheAboutBox()
    {
        int opened = 0;
        ModalWatcher watcher([&](QDialog* dialog) {
            ++opened;
            dialog->reject();
        });
        m_dlg->OnSysCommand(0x1F);
        QCOMPARE(opened, 1);
        m_dlg->OnSysCommand(0xF060);  // the system's close command
        QTest::qWait(30);
        QCOMPARE(opened, 1);
    }

    void thePortTooltipListsTheCurrentPorts()
    {
        QLineEdit* port = Edit(IDC_PORT);
        tarnel::test::PortsOverride ports("/dev/pts/41:/dev/ttyUSB7");
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), port->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(port, &help);
        QVERIFY(port->toolTip().contains(QStringLiteral("1 = /dev/pts/41")));
        QVERIFY(port->toolTip().contains(QStringLiteral("2 = /dev/ttyUSB7")));
    }
};

QTEST_MAIN(MainDlgTest)
#include "main_dlg_test.moc"
