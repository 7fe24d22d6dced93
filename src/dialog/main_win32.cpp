// The program's entry on Windows: readies the common controls, then runs
// the one application object, and ends when its InitInstance returns.

#include "dialog/application.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    AfxGetApp()->InitInstance();
    return 0;
}
