#pragma once

#include "dialog/dialog.h"
#include "link/serial_port.h"
#include "scan/address_scan.h"

#include <QIcon>
#include <cstdint>
#include <optional>

class QComboBox;
class QMenu;

// The operator window: port, scan, re-addressing and zero calibration.
class CMainDlg : public CDialog, private tarnel::scan::ScanView {
public:
    explicit CMainDlg(QWidget* pParent = nullptr);

    // Handlers, reached through the routing table.
    void OnSysCommand(unsigned nID);
    void OnSearch();
    void OnTimer(int nIDEvent);
    void OnSetAddress();
    void OnOpenPort();
    void OnZeroCalibrate();

    // The context menu that holds the about command where the window has no
    // system menu to extend; none otherwise.
    QMenu* SystemMenu() const { return m_pSysMenu; }

    tarnel::link::PortHandle m_port;
    QComboBox* m_cbBaud = nullptr;
    std::uint32_t m_nPort;
    std::uint32_t m_nStartAddr;
    std::uint32_t m_nInterval;
    std::uint32_t m_nResult;
    QIcon m_hIcon;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The baud list's selection, or -1 when its text was edited to match none.
    int BaudSelection() const;

    // Reads a bus address from edit `id`: on failure the operator gets the
    // form's messages and focus handling, and nothing is returned.
    std::optional<std::uint32_t> ReadAddress(int id);

    // True with an open port; otherwise tells the operator to open one.
    bool PortIsOpenOrSaySo();

    // Closes a port whose device went away and tells the operator `message`
    // with the device and the reason beneath.
    void ClosePortLost(const QString& message);

    // "设置成功" or "设置失败"; a failure on a port whose device went away
    // also closes it.
    void ReportOutcome(bool succeeded);

    // How the scan shows itself in the window.
    void StartTicks(std::uint32_t periodMs) override;
    void StopTicks() override;
    void ShowRunning(bool running) override;
    void KeepResult(std::uint32_t value) override;
    void ShowResult(std::uint32_t value) override;
    void AnnounceFound(std::uint32_t address) override;
    void AnnounceNothingFound() override;
    void AnnounceLineLost() override;

    QMenu* m_pSysMenu = nullptr;
    tarnel::scan::AddressScan m_scan{*this};
};
