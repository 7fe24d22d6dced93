#include "main_app.h"

int main(int argc, char** argv)
{
    CMainApp theApp(argc, argv);
    theApp.InitInstance();
    return 0;
}
