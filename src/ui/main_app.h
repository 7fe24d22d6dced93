#pragma once

#include <QApplication>

// The application: runs the operator window modally, then ends.
class CMainApp : public QApplication {
public:
    CMainApp(int& argc, char** argv);

    // Returns false: there is no message loop beyond the window's own.
    bool InitInstance();
};
