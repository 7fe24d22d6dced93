#pragma once

#include <QApplication>

// Makes Qt's own texts (standard buttons, edit menus) Simplified Chinese,
// with Qt's translations where the system has them.
void LoadChineseQtTexts(QApplication& app);

// The application: runs the operator window modally, then ends.
class CMainApp : public QApplication {
public:
    CMainApp(int& argc, char** argv);

    // Returns false: there is no message loop beyond the window's own.
    bool InitInstance();
};
