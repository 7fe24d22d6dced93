#include "about_dlg.h"

#include "templates.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialog(kAboutDialogTemplate, pParent) {}
