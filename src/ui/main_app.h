#pragma once

#include "dialog/application.h"

// The application: runs the operator window modally, then ends.
class CMainApp : public CWinApp {
public:
    CMainApp() : CWinApp("Tarnel") {}

    // Returns false: there is no message loop beyond the window's own.
    bool InitInstance() override;
};
