// The address scan in the window: the search button starts and stops it,
// every tick of the window timer probes one address.

#include "main_dlg.h"
#include "dialog/message_box.h"
#include "link/port_line.h"
#include "resource.h"
#include "texts.h"

void CMainDlg::OnSearch()
{
    if (m_scan.Running()) {
        m_scan.Stop();
        return;
    }
    if (!PortIsOpenOrSaySo() || !UpdateData(true)) {
        return;
    }
    m_scan.Start(m_nStartAddr, m_nInterval);
}

void CMainDlg::OnTimer(int)
{
    tarnel::link::PortLine line(m_port);
    m_scan.Tick(line);
}

void CMainDlg::StartTicks(std::uint32_t periodMs)
{
    SetTimer(SCAN_TIMER_ID, periodMs);
}

void CMainDlg::StopTicks()
{
    KillTimer(SCAN_TIMER_ID);
}

void CMainDlg::ShowRunning(bool running)
{
    SetDlgItemText(IDC_SEARCH, running ? kStopCaption : kSearchCaption);
}

void CMainDlg::KeepResult(std::uint32_t value)
{
    m_nResult = value;
}

void CMainDlg::ShowResult(std::uint32_t value)
{
    m_nResult = value;
    UpdateData(false);
}

void CMainDlg::AnnounceFound(std::uint32_t address)
{
    WindowMessageBox(*this, kAddressFound + std::to_string(address));
    SetDlgItemText(IDC_OLD_ADDR, std::to_string(address));
}

void CMainDlg::AnnounceNothingFound()
{
    WindowMessageBox(*this, kNoAddressFound);
}

void CMainDlg::AnnounceLineLost()
{
    ClosePortLost(kPortClosed);
}
