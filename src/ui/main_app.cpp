#include "main_app.h"

#include "dialog/dialog_font.h"
#include "main_dlg.h"

#include <QLibraryInfo>
#include <QTranslator>

void LoadChineseQtTexts(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

CMainApp::CMainApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Tarnel"));
    setApplicationVersion(QStringLiteral(TARNEL_VERSION));
    setFont(DialogFont());
    LoadChineseQtTexts(*this);
}

bool CMainApp::InitInstance()
{
    CMainDlg dlg;
    dlg.DoModal();
    return false;
}
