#include "main_dlg.h"

#include "about_dlg.h"
#include "commission_dlg.h"
#include "dialog/data_exchange.h"
#include "dialog/routing.h"
#include "doctor_dlg.h"
#include "link/protocol.h"
#include "port_tooltip.h"
#include "resource.h"
#include "site_port.h"
#include "templates.h"
#include "texts.h"

#include <array>

namespace {

using Route = MessageRoute<CMainDlg>;

const std::array kRoutes{
    Route::SysCommand(&CMainDlg::OnSysCommand),
    Route::Clicked(IDC_SEARCH, &CMainDlg::OnSearch),
    Route::Timer(&CMainDlg::OnTimer),
    Route::Clicked(IDC_SET_ADDR, &CMainDlg::OnSetAddress),
    Route::Clicked(IDC_OPEN_PORT, &CMainDlg::OnOpenPort),
    Route::Clicked(IDC_ZERO_CAL, &CMainDlg::OnZeroCalibrate),
};

constexpr int kDefaultBaudIndex = 3;  // 9600.n.8.1

}  // namespace

CMainDlg::CMainDlg(CDialog* pParent)
    : CDialog(kMainDialogTemplate, pParent),
      m_nPort(1),
      m_nStartAddr(0),
      m_nInterval(250),
      m_nResult(0)
{
    WireRoutes<CMainDlg>(this, kRoutes);
}

void CMainDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_BAUD, m_cbBaud);
    DDX_Text(pDX, IDC_PORT, m_nPort);
    DDV_MinMaxUInt(pDX, m_nPort, 1, 99);
    DDX_Text(pDX, IDC_START_ADDR, m_nStartAddr);
    DDV_MinMaxUInt(pDX, m_nStartAddr, tarnel::link::kFirstAddress, tarnel::link::kLastAddress);
    DDX_Text(pDX, IDC_INTERVAL, m_nInterval);
    DDV_MinMaxUInt(pDX, m_nInterval, 250, 1000);
    DDX_Text(pDX, IDC_RESULT, m_nResult);
    DDV_MinMaxUInt(pDX, m_nResult, 0, 256);
}

bool CMainDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AppendToSystemMenu(IDS_ABOUTBOX, IDM_ABOUTBOX);
    AppendToSystemMenu(IDS_COMMISSION, IDM_COMMISSION);
    AppendToSystemMenu(IDS_DOCTOR, IDM_DOCTOR);
    SetIcon(IDR_MAINFRAME);
    SetToolTip(IDC_PORT, PortListText);

    m_port.Close();
    m_cbBaud.SetCurSel(kDefaultBaudIndex);
    return true;
}

void CMainDlg::OnSysCommand(unsigned nID)
{
    if (nID == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(this);
        dlgAbout.DoModal();
    } else if (nID == IDM_COMMISSION || nID == IDM_DOCTOR) {
        OnSiteWork(nID);
    }
}

void CMainDlg::OnSiteWork(unsigned nID)
{
    // The site work takes the line: no scan goes on probing beside it.
    if (m_scan.Running()) {
        m_scan.Stop();
    }
    if (!PortIsOpenOrSaySo()) {
        return;
    }
    WindowPort port(m_port);
    if (nID == IDM_COMMISSION) {
        CCommissionDlg dlg(this, port);
        dlg.DoModal();
    } else {
        CDoctorDlg dlg(this, port);
        dlg.DoModal();
    }
    if (m_port.Lost()) {
        ClosePortLost(kPortClosed);
    }
}
