#pragma once

#include "link/device_commands.h"
#include "main_dlg.h"
#include "modal_watcher.h"
#include "pseudo_terminal.h"
#include "resource.h"
#include "sim_process.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

// The real operator window on a simulated bus, which is port 1.
class WindowFixture {
public:
    explicit WindowFixture(const std::vector<std::string>& controllers)
        : m_sim(controllers), m_ports(m_sim.DevicePath()), m_dlg(std::make_unique<CMainDlg>())
    {
        m_dlg->show();
    }

    CMainDlg& Dlg() { return *m_dlg; }
    tarnel::test::SimProcess& Sim() { return m_sim; }

    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(m_dlg->GetDlgItem(id)); }
    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(m_dlg->GetDlgItem(id)); }
    QString Caption(int id) const { return Button(id)->text(); }
    void Type(int id, const QString& text) const { Edit(id)->setText(text); }

    // Clicks a button the way the operator does and returns the messages
    // shown meanwhile, each closed with OK.
    QStringList Click(int id)
    {
        tarnel::test::ModalWatcher watcher;
        QTest::mouseClick(Button(id), Qt::LeftButton);
        return watcher.Messages();
    }

    void OpenPort()
    {
        QCOMPARE(Click(IDC_OPEN_PORT), QStringList{"打开成功"});
        QVERIFY(m_dlg->m_port.IsOpen());
    }

private:
    tarnel::test::SimProcess m_sim;
    tarnel::test::PortsOverride m_ports;
    std::unique_ptr<CMainDlg> m_dlg;
};
