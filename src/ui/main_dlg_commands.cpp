// The open/close, set-address and zero-calibration buttons.

#include "dialog/data_exchange.h"
#include "link/device_commands.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "link/serial_port.h"
#include "main_dlg.h"
#include "dialog/message_box.h"
#include "port_failure_text.h"
#include "resource.h"
#include "texts.h"


void CMainDlg::OnOpenPort()
{
    if (GetDlgItemText(IDC_OPEN_PORT) != kOpenPortCaption) {
        if (m_port.IsOpen()) {
            // No scan goes on probing a port that is gone.
            if (m_scan.Running()) {
                m_scan.Stop();
            }
            m_port.Close();
            AfxMessageBox(kPortClosed);
            SetDlgItemText(IDC_OPEN_PORT, kOpenPortCaption);
        }
        return;
    }
    if (m_port.IsOpen()) {
        AfxMessageBox(kPortAlreadyOpen);
        return;
    }
    if (!UpdateData(true)) {
        return;
    }
    tarnel::platform::OpenFailure failure;
    m_port = tarnel::link::OpenPort(m_nPort, m_cbBaud.GetCurSel(), &failure);
    if (m_port.IsOpen()) {
        AfxMessageBox(kPortOpened);
        SetDlgItemText(IDC_OPEN_PORT, kClosePortCaption);
    } else {
        AfxMessageBox(kPortOpenFailed, DescribeOpenFailure(m_nPort, failure));
    }
}

std::optional<std::uint32_t> CMainDlg::ReadAddress(int id)
{
    CDataExchange exchange(this, true);
    std::uint32_t address = 0;
    DDX_Text(&exchange, id, address);
    DDV_MinMaxUInt(&exchange, address, tarnel::link::kFirstAddress, tarnel::link::kLastAddress);
    if (exchange.Failed()) {
        return std::nullopt;
    }
    return address;
}

bool CMainDlg::PortIsOpenOrSaySo()
{
    if (!m_port.IsOpen()) {
        AfxMessageBox(kOpenPortFirst);
    }
    return m_port.IsOpen();
}

void CMainDlg::ClosePortLost(const std::string& message)
{
    const std::string why = DescribeLostDevice(m_port);
    if (m_scan.Running()) {
        m_scan.Stop();
    }
    m_port.Close();
    SetDlgItemText(IDC_OPEN_PORT, kOpenPortCaption);
    AfxMessageBox(message, why);
}

void CMainDlg::ReportOutcome(bool succeeded)
{
    if (succeeded) {
        AfxMessageBox(kSetSucceeded);
    } else if (m_port.Lost()) {
        ClosePortLost(kSetFailed);
    } else {
        AfxMessageBox(kSetFailed);
    }
}

void CMainDlg::OnSetAddress()
{
    if (!PortIsOpenOrSaySo()) {
        return;
    }
    const auto newAddress = ReadAddress(IDC_NEW_ADDR);
    if (!newAddress) {
        return;
    }
    const auto oldAddress = ReadAddress(IDC_OLD_ADDR);
    if (!oldAddress) {
        return;
    }
    tarnel::link::PortLine line(m_port);
    const bool answered = tarnel::link::SetDeviceAddress(line, *oldAddress, *newAddress);
    ReportOutcome(answered);
    // Either way the result field names the new address, which the
    // zero-calibration button then addresses.
    m_nResult = *newAddress;
    UpdateData(false);
}

void CMainDlg::OnZeroCalibrate()
{
    if (!PortIsOpenOrSaySo()) {
        return;
    }
    const auto address = ReadAddress(IDC_RESULT);
    if (!address) {
        return;
    }
    tarnel::link::PortLine line(m_port);
    ReportOutcome(tarnel::link::ZeroCalibrate(line, *address));
}
