#include "main_app.h"

// The one application object; the framework's main routine runs it.
CMainApp theApp;
