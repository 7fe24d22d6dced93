#include "main_app.h"

#include "main_dlg.h"

bool CMainApp::InitInstance()
{
    CMainDlg dlg;
    dlg.DoModal();
    return false;
}
