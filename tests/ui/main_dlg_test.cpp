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

    // What the about boxes that `open` opens show, each closed with `key`.
    QStringList AboutBoxesFrom(const std::function<void()>& open, Qt::Key key = Qt::Key_Escape)
    {
        QStringList seen;
        ModalWatcher watcher([&](QDialog* dialog) {
            auto* about = dynamic_cast<CAboutDlg*>(dialog);
            QVERIFY(about);
            auto* ok = qobject_cast<QPushButton*>(about->GetDlgItem(IDOK));
            seen << about->windowTitle() << about->findChildren<QLabel*>()[1]->text()
                 << ok->text() + (ok->isDefault() ? " (default)" : "");
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
        QStringList texts;
        for (int id : {IDC_PORT, IDC_START_ADDR, IDC_INTERVAL, IDC_RESULT, IDC_OLD_ADDR, IDC_NEW_ADDR}) {
            texts << Edit(id)->text();
        }
        for (int i = 0; i < m_dlg->m_cbBaud->count(); ++i) {
            texts << m_dlg->m_cbBaud->itemText(i);
        }
        QCOMPARE(texts, QString("1 0 250 0   1200.n.8.1 2400.n.8.1 4800.n.8.1 9600.n.8.1 19200.n.8.1").split(' '));
        QCOMPARE(m_dlg->m_cbBaud->currentText(), QStringLiteral("9600.n.8.1"));
        QCOMPARE(m_dlg->focusWidget(), Edit(IDC_START_ADDR));
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

    void everyFieldTakesItsRangeAndNoMore()
    {
        const struct {
            int id;
            std::uint32_t min, max;
        } fields[] = {{IDC_PORT, 1, 99}, {IDC_START_ADDR, 0, 255}, {IDC_INTERVAL, 250, 1000}, {IDC_RESULT, 0, 256}};
        for (const auto& f : fields) {
            const long long min = f.min, max = f.max;
            for (const long long value : {min - 1, min, max, max + 1}) {
                const bool inside = value >= min && value <= max;
                Edit(f.id)->setText(QString::number(value));
                ModalWatcher watcher;
                QCOMPARE(m_dlg->UpdateData(true), inside);
                QCOMPARE(watcher.Messages(),
                         inside ? QStringList{} : QStringList{value < 0 ? NotANumberMessage() : OutOfRangeMessage(f.min, f.max)});
                Edit(f.id)->setText(QString::number(f.min));
            }
        }
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
        QCOMPARE(m_dlg->SystemMenu()->actions().size(), 1);
        QCOMPARE(m_dlg->SystemMenu()->actions()[0]->text(), QStringLiteral("关于 Tarnel(&A)..."));
        const QStringList about{"关于 Tarnel", "Tarnel 1.0 版", "确定 (default)"};
        QCOMPARE(AboutBoxesFrom([this] { m_dlg->SystemMenu()->actions()[0]->trigger(); }, Qt::Key_Return), about);
        QCOMPARE(AboutBoxesFrom([this] { m_dlg->OnSysCommand(0x1F); }), about);  // the low four bits are ignored
        QCOMPARE(AboutBoxesFrom([this] { m_dlg->OnSysCommand(0xF060); }), QStringList{});  // the system's close
        QVERIFY(m_dlg->isVisible());
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
