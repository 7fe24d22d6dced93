#include "about_dlg.h"

CAboutDlg::CAboutDlg(QWidget* pParent) : CDialog(kAboutDialogTemplate, pParent) {}
