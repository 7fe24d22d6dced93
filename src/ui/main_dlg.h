#pragma once

#include "dialog.h"
#include "link/serial_port.h"

#include <QIcon>
#include <cstdint>

class QComboBox;
class QMenu;

// The operator window: port, scan, re-addressing and zero calibration.
class CMainDlg : public CDialog {
public:
    explicit CMainDlg(QWidget* pParent = nullptr);

    // Handlers, reached through the routing table.
    void OnSysCommand(unsigned nID, long lParam);
    void OnSearch();
    void OnTimer(int nIDEvent);
    void OnSetAddress();
    void OnOpenPort();
    void OnZeroCalibrate();

    // The context menu that holds the about command where the window has no
    // system menu to extend; none otherwise.
    QMenu* SystemMenu() const { return m_pSysMenu; }

    bool m_bFound = false;
    std::uint32_t m_nNextAddr = 0;
    tarnel::link::PortHandle m_port;
    QComboBox* m_cbBaud = nullptr;
    std::uint32_t m_nPort;
    std::uint32_t m_nStartAddr;
    std::uint32_t m_nInterval;
    std::uint32_t m_nResult;
    QIcon m_hIcon;
    // The period the running scan started with: a failed read of the form
    // during the scan may store a rejected period in m_nInterval.
    std::uint32_t m_nScanPeriod = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The baud list's selection, or -1 when its text was edited to match none.
    int BaudSelection() const;

    // The search button's caption is the scan's state: anything but "搜索"
    // means a scan runs.
    bool ScanRunning() const;

    // Back to idle: timer stopped, counters 0, caption "搜索".
    void StopScan();

    // True with an open port; otherwise tells the operator to open one.
    bool PortIsOpenOrSaySo();

    QMenu* m_pSysMenu = nullptr;
};
