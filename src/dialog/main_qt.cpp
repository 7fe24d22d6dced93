// The program's entry on Qt: readies the toolkit, then runs the one
// application object, and ends when its InitInstance returns.

#include "dialog/application.h"
#include "dialog/startup_qt.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CWinApp* theApp = AfxGetApp();
    QApplication::setApplicationName(QString::fromStdString(theApp->Name()));
    tarnel::dialog::qt::ReadyQt(app);
    theApp->InitInstance();
    return 0;
}
