#include "dialog/application.h"

namespace {

CWinApp* gApp = nullptr;

}  // namespace

CWinApp::CWinApp(std::string name) : m_strName(std::move(name))
{
    gApp = this;
}

CWinApp::~CWinApp()
{
    gApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return gApp;
}
