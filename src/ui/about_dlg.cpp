#include "about_dlg.h"

#include "templates.h"

CAboutDlg::CAboutDlg(CDialog* pParent) : CDialog(kAboutDialogTemplate, pParent) {}
