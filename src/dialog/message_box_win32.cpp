#include "dialog/message_box.h"

#include "dialog/look.h"
#include "platform/wide_text_win32.h"
#include "dialog/window_win32.h"

#include <cstring>

namespace {

using tarnel::platform::Wide;

// Shows the standard OK button in the dialogs' own words whatever the
// system's language: a CBT hook renames it as the box activates.
class OkCaption {
public:
    OkCaption() : m_hook(::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId())) {}
    ~OkCaption() { ::UnhookWindowsHookEx(m_hook); }
    OkCaption(const OkCaption&) = delete;
    OkCaption& operator=(const OkCaption&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE) {
            wchar_t className[16] = {};
            const HWND window = reinterpret_cast<HWND>(wParam);
            // #32770: a dialog; the box is the one with its OK button at IDOK.
            if (::GetClassNameW(window, className, 16) && std::wcscmp(className, L"#32770") == 0 &&
                ::GetDlgItem(window, IDOK) && !::GetDlgItem(window, IDCANCEL)) {
                ::SetDlgItemTextW(window, IDOK, Wide(tarnel::dialog::look::kOkCaption).c_str());
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook;
};

void ShowBox(HWND owner, const std::string& text, const std::string& informative)
{
    const std::wstring title = Wide(tarnel::dialog::look::BoxTitle());
    const std::wstring body = Wide(informative.empty() ? text : text + "\n\n" + informative);
    OkCaption ok;
    ::MessageBoxW(owner, body.c_str(), title.c_str(), MB_OK);
}

}  // namespace

void AfxMessageBox(const std::string& text, const std::string& informative)
{
    ShowBox(::GetActiveWindow(), text, informative);
}

void WindowMessageBox(CDialog& window, const std::string& text)
{
    ShowBox(tarnel::dialog::win32::HandleOf(window), text, {});
}
