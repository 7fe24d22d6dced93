#include "main_app.h"

#include "dialog_font.h"
#include "main_dlg.h"

CMainApp::CMainApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tarnel"));
    setApplicationVersion(QStringLiteral(TARNEL_VERSION));
    setFont(DialogFont());
}

bool CMainApp::InitInstance()
{
    CMainDlg dlg;
    dlg.DoModal();
    return false;
}
