// The program's entry on Qt: readies the toolkit, then runs the one
// application object, and ends when its InitInstance returns.

#include "dialog/application.h"
#include "dialog/qt_access.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CWinApp* theApp = AfxGetApp();
    QApplication::setApplicationName(QString::fromStdString(theApp->Name()));
    QApplication::setFont(tarnel::dialog::qt::DialogFont());
    tarnel::dialog::qt::LoadChineseQtTexts(app);
    theApp->InitInstance();
    return 0;
}
