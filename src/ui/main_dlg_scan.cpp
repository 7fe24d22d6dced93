// The address scan: the search button starts and stops it, every tick of the
// window timer probes one address.

#include "main_dlg.h"
#include "message_box.h"
#include "resource.h"
#include "scan/address_walk.h"
#include "texts.h"

void CMainDlg::OnSearch()
{
    if (ScanRunning()) {
        StopScan();
        return;
    }
    if (!PortIsOpenOrSaySo() || !UpdateData(true)) {
        return;
    }
    m_bFound = false;
    m_nResult = m_nStartAddr;
    m_nNextAddr = m_nStartAddr;
    m_nScanPeriod = m_nInterval;
    SetDlgItemText(IDC_SEARCH, kStopCaption);
    SetTimer(SCAN_TIMER_ID, m_nScanPeriod);
}

void CMainDlg::OnTimer(int)
{
    const tarnel::scan::WalkStep step = tarnel::scan::ProbeNext(m_port, m_nNextAddr, m_nScanPeriod);
    if (step.answered) {
        // Stopped before the box opens, so nothing is probed behind it.
        KillTimer(SCAN_TIMER_ID);
        m_bFound = true;
        WindowMessageBox(this, kAddressFound.arg(step.probed));
        SetDlgItemText(IDC_OLD_ADDR, QString::number(step.probed));
        StopScan();
        return;
    }
    m_nResult = m_nNextAddr;  // the next address to probe
    UpdateData(false);
    if (step.rangeDone) {
        KillTimer(SCAN_TIMER_ID);
        WindowMessageBox(this, kNoAddressFound);
        StopScan();
    }
}

bool CMainDlg::ScanRunning() const
{
    return GetDlgItemText(IDC_SEARCH) != kSearchCaption;
}

void CMainDlg::StopScan()
{
    KillTimer(SCAN_TIMER_ID);
    m_nNextAddr = 0;
    m_nResult = 0;
    SetDlgItemText(IDC_SEARCH, kSearchCaption);
}
