#include "dialog/message_box.h"

#include "dialog/dialog.h"
#include "dialog/window.h"

void AfxMessageBox(const std::string& text, const std::string& informative)
{
    tarnel::dialog::ApplicationMessageBox(text, informative);
}

void WindowMessageBox(CDialog& window, const std::string& text)
{
    window.Window().ShowMessage(text, {});
}
