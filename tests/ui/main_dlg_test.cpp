#include "about_dlg.h"
#include "dialog/data_exchange.h"
#include "dialog/message_box.h"
#include "main_app.h"
#include "main_dlg.h"
#include "modal_watcher.h"
#include "pseudo_terminal.h"
#include "resource.h"

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

    std::unique_ptr<CMainDlg> m_dlg;

    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(m_dlg->GetDlgItem(id)); }

    // The texts of the about boxes that `open` opens, each closed with `key`.
    QStringList AboutBoxesFrom(const std::function<void()>& open, Qt::Key key = Qt::Key_Escape)
    {
        QStringList seen;
        ModalWatcher watcher([&](QDialog* dialog) {
            auto* about = dynamic_cast<CAboutDlg*>(dialog);
            QVERIFY(about);
            seen << about->windowTitle();
            for (const QLabel* label : about->findChildren<QLabel*>()) {
                seen << label->text();
            }
            auto* ok = qobject_cast<QPushButton*>(about->GetDlgItem(IDOK));
            seen << ok->text() + (ok->isDefault() ? " (default)" : "");
            QTest::keyClick(about, key);
        });
        open();
        QTest::qWait(30);
        return seen;
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
        QStringList edits;
        for (int id : {IDC_PORT, IDC_START_ADDR, IDC_INTERVAL, IDC_RESULT, IDC_OLD_ADDR, IDC_NEW_ADDR}) {
            edits << Edit(id)->text();
        }
        QCOMPARE(edits, (QStringList{"1", "0", "250", "0", "", ""}));
        QStringList bauds;
        for (int i = 0; i < m_dlg->m_cbBaud->count(); ++i) {
            bauds << m_dlg->m_cbBaud->itemText(i);
        }
        QCOMPARE(bauds, (QStringList{"1200.n.8.1", "2400.n.8.1", "4800.n.8.1", "9600.n.8.1", "19200.n.8.1"}));
        QCOMPARE(m_dlg->m_cbBaud->currentText(), QStringLiteral("9600.n.8.1"));
        QCOMPARE(m_dlg->focusWidget(), Edit(IDC_START_ADDR));
        QCOMPARE(m_dlg->SystemMenu()->actions().size(), 1);
        QCOMPARE(m_dlg->SystemMenu()->actions()[0]->text(), QStringLiteral("关于 Tarnel(&A)..."));
        const QList<QSize> iconSizes = m_dlg->windowIcon().availableSizes();
        QVERIFY(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(32, 32)));
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
        const struct {
            int id;
            const char* name;
            std::uint32_t min, max;
        } fields[] = {{IDC_PORT, "port", 1, 99},
                      {IDC_START_ADDR, "start", 0, 255},
                      {IDC_INTERVAL, "period", 250, 1000},
                      {IDC_RESULT, "result", 0, 256}};
        for (const auto& f : fields) {
            const QString bad = OutOfRangeMessage(f.min, f.max);
            QTest::addRow("%s %u", f.name, f.min) << f.id << QString::number(f.min) << QString();
            QTest::addRow("%s %u", f.name, f.max) << f.id << QString::number(f.max) << QString();
            QTest::addRow("%s %u", f.name, f.max + 1) << f.id << QString::number(f.max + 1) << bad;
            if (f.min > 0) {
                QTest::addRow("%s %u", f.name, f.min - 1) << f.id << QString::number(f.min - 1) << bad;
            }
        }
    }

    void rangeBoundsOfEveryField()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QString, message);
        Edit(id)->setText(text);
        ModalWatcher watcher;
        QCOMPARE(m_dlg->UpdateData(true), message.isEmpty());
        QCOMPARE(watcher.Messages(), message.isEmpty() ? QStringList{} : QStringList{message});
    }

    void controlsSitAtTheirPixelsInTabOrder()
    {
        if (!QFontInfo(m_dlg->font()).family().contains(QStringLiteral("UMing")) || m_dlg->logicalDpiY() != 96) {
            QSKIP("the pixel layout is fixed for AR PL UMing at 96 dpi");
        }
        QCOMPARE(m_dlg->size(), QSize(468, 350));
        QCOMPARE(Edit(IDC_PORT)->geometry(), QRect(83, 42, 39, 21));
        QCOMPARE(m_dlg->GetDlgItem(IDC_SEARCH)->geometry(), QRect(29, 183, 72, 27));
        QCOMPARE(Edit(IDC_RESULT)->geometry(), QRect(221, 186, 47, 21));
        QCOMPARE(m_dlg->GetDlgItem(IDC_ZERO_CAL)->geometry(), QRect(275, 311, 89, 21));
        QCOMPARE(m_dlg->m_cbBaud->geometry().topLeft(), QPoint(176, 39));
        QCOMPARE(m_dlg->m_cbBaud->width(), 98);

        QStringList order;
        QWidget* widget = Edit(IDC_START_ADDR);
        do {
            if (widget->parentWidget() == m_dlg.get() && (widget->focusPolicy() & Qt::TabFocus)) {
                order << widget->objectName();
            }
            widget = widget->nextInFocusChain();
        } while (widget != Edit(IDC_START_ADDR));
        QCOMPARE(order, QString("IDC_START_ADDR IDC_SEARCH IDC_PORT IDC_INTERVAL IDC_BAUD IDC_OLD_ADDR IDC_NEW_ADDR "
                                "IDC_SET_ADDR IDC_OPEN_PORT IDC_RESULT IDC_ZERO_CAL")
                            .split(' '));
    }

    void theAboutCommandsOpenTheAboutBoxAndNothingElseDoes()
    {
        const QStringList about{"关于 Tarnel", "", "Tarnel 1.0 版", "确定 (default)"};
        const auto command = [this](unsigned id) { return [this, id] { m_dlg->OnSysCommand(id); }; };
        QCOMPARE(AboutBoxesFrom([this] { m_dlg->SystemMenu()->actions()[0]->trigger(); }, Qt::Key_Return), about);
        QCOMPARE(AboutBoxesFrom(command(0x1F)), about);  // the low four bits are ignored
        QCOMPARE(AboutBoxesFrom(command(0xF060)), QStringList{});  // the system's close command
        QVERIFY(m_dlg->isVisible());
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
