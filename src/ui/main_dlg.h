#pragma once

#include "dialog/combo_box.h"
#include "dialog/dialog.h"
#include "platform/serial_line.h"
#include "scan/address_scan.h"

#include <cstdint>
#include <optional>
#include <string>

// The operator window: port, scan, re-addressing and zero calibration.
class CMainDlg : public CDialog, private tarnel::scan::ScanView {
public:
    explicit CMainDlg(CDialog* pParent = nullptr);

    // Handlers, reached through the routing table.
    void OnSysCommand(unsigned nID);
    void OnSearch();
    void OnTimer(int nIDEvent);
    void OnSetAddress();
    void OnOpenPort();
    void OnZeroCalibrate();

    tarnel::platform::SerialLine m_port;
    CComboBox m_cbBaud;
    std::uint32_t m_nPort;
    std::uint32_t m_nStartAddr;
    std::uint32_t m_nInterval;
    std::uint32_t m_nResult;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;

private:
    // Reads a bus address from edit `id`: on failure the operator gets the
    // form's messages and focus handling, and nothing is returned.
    std::optional<std::uint32_t> ReadAddress(int id);

    // 现场调试 or 总线诊断 on the open port.
    void OnSiteWork(unsigned nID);

    // True with an open port; otherwise tells the operator to open one.
    bool PortIsOpenOrSaySo();

    // Closes a port whose device went away and tells the operator `message`
    // with the device and the reason beneath.
    void ClosePortLost(const std::string& message);

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

    tarnel::scan::AddressScan m_scan{*this};
};
