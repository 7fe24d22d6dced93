#include "dialog/data_exchange.h"
#include "dialog/dialog.h"
#include "dialog/qt_access.h"
#include "modal_watcher.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using tarnel::test::ModalWatcher;

namespace {

constexpr int kFirst = 10, kSecond = 11, kButton = 12;
constexpr std::array kControls{
    ControlTemplate{ControlKind::Edit, kFirst, "first", "", 7, 7, 50, 14},
    ControlTemplate{ControlKind::Edit, kSecond, "second", "", 7, 28, 50, 14},
    ControlTemplate{ControlKind::Button, kButton, "button", "按钮", 70, 7, 50, 14},
    ControlTemplate{ControlKind::DefaultButton, IDOK, "IDOK", "确定", 70, 28, 50, 14},
};
const DialogTemplate kForm{"表单", 130, 50, kControls};

// Two validated fields and a button that counts its clicks.
class FormDlg : public CDialog {
public:
    FormDlg() : CDialog(kForm) { RouteClicked(kButton, [this] { ++clicks; }); }

    std::uint32_t first = 5, second = 6;
    int clicks = 0;

    QDialog* Widget() const { return tarnel::dialog::qt::Widget(*this); }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(tarnel::dialog::qt::Item(*this, id)); }

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, kFirst, first);
        DDV_MinMaxUInt(pDX, first, 1, 99);
        DDX_Text(pDX, kSecond, second);
        DDV_MinMaxUInt(pDX, second, 0, 255);
    }
};

}  // namespace

class DialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FormDlg> m_dlg;

private slots:
    void init()
    {
        m_dlg = std::make_unique<FormDlg>();
        m_dlg->Widget()->show();
    }

    void cleanup() { m_dlg.reset(); }

    void aReadStopsAtTheFirstFailingFieldAndPointsAtIt_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");  // empty: the read passes
        QTest::addColumn<uint>("firstAfter");
        QTest::addColumn<uint>("secondAfter");
        QTest::addColumn<int>("blamed");
        const QString first = QString::fromStdString(OutOfRangeMessage(1, 99));
        const QString nan = QString::fromStdString(NotANumberMessage());
        QTest::newRow("both pass, blanks") << " 1 " << "255" << "" << 1u << 255u << 0;
        QTest::newRow("first below") << "0" << "7" << first << 0u << 6u << kFirst;
        QTest::newRow("second above") << "3" << "256" << QString::fromStdString(OutOfRangeMessage(0, 255)) << 3u << 256u << kSecond;
        QTest::newRow("sign") << "+4" << "7" << nan << 5u << 6u << kFirst;
        QTest::newRow("letters after") << "3x" << "7" << nan << 5u << 6u << kFirst;
        QTest::newRow("beyond 32 bits") << "4294967296" << "7" << nan << 5u << 6u << kFirst;
        QTest::newRow("largest 32 bits") << "4294967295" << "7" << first << 4294967295u << 6u << kFirst;
    }

    void aReadStopsAtTheFirstFailingFieldAndPointsAtIt()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        m_dlg->Edit(kFirst)->setText(first);
        m_dlg->Edit(kSecond)->setText(second);
        ModalWatcher watcher;
        QCOMPARE(m_dlg->UpdateData(true), message.isEmpty());
        QCOMPARE(watcher.Messages(), message.isEmpty() ? QStringList{} : QStringList{message});
        QTEST(uint(m_dlg->first), "firstAfter");
        QTEST(uint(m_dlg->second), "secondAfter");
        QFETCH(int, blamed);
        if (blamed) {
            QCOMPARE(m_dlg->Widget()->focusWidget(), m_dlg->Edit(blamed));
            QCOMPARE(m_dlg->Edit(blamed)->selectedText(), m_dlg->Edit(blamed)->text());
        }
    }

    void enterMeansOkOrTheFocusedButtonAndEscapeCancels()
    {
        ModalWatcher watcher;
        m_dlg->Edit(kSecond)->setText("300");
        QTest::keyClick(m_dlg->Edit(kFirst), Qt::Key_Return);
        QCOMPARE(watcher.Messages(), QStringList{QString::fromStdString(OutOfRangeMessage(0, 255))});
        QVERIFY(m_dlg->Widget()->isVisible());

        QWidget* button = tarnel::dialog::qt::Item(*m_dlg, kButton);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Enter);
        QCOMPARE(m_dlg->clicks, 1);
        QVERIFY(m_dlg->Widget()->isVisible());

        m_dlg->Edit(kSecond)->setText("30");
        m_dlg->Edit(kFirst)->setFocus();
        QTest::keyClick(m_dlg->Edit(kFirst), Qt::Key_Return);
        QCOMPARE(m_dlg->Widget()->result(), IDOK);
        QCOMPARE(m_dlg->second, 30u);

        m_dlg->Widget()->show();
        QTest::keyClick(m_dlg->Edit(kFirst), Qt::Key_Escape);
        QVERIFY(!m_dlg->Widget()->isVisible());
        QCOMPARE(m_dlg->Widget()->result(), IDCANCEL);
    }
};

QTEST_MAIN(DialogTest)
#include "dialog_test.moc"
