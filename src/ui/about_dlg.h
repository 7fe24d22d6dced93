#pragma once

#include "dialog/dialog.h"

// The about box: program name, version and icon.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CDialog* pParent = nullptr);
};
