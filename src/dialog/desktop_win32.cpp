#include "dialog/desktop.h"

#include "dialog/window_win32.h"
#include "platform/wide_text_win32.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

namespace tarnel::dialog {

using platform::Utf8;
using platform::Wide;

std::optional<std::string> ChooseFile(CDialog& owner, const std::string& title, const std::string& suggested)
{
    std::vector<wchar_t> path(4096, L'\0');
    const std::wstring start = Wide(suggested);
    start.copy(path.data(), std::min(start.size(), path.size() - 1));
    const std::wstring caption = Wide(title);
    OPENFILENAMEW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = win32::HandleOf(owner);
    chooser.lpstrFilter = L"CSV (*.csv)\0*.csv\0";
    chooser.lpstrFile = path.data();
    chooser.nMaxFile = static_cast<DWORD>(path.size());
    chooser.lpstrTitle = caption.c_str();
    chooser.lpstrDefExt = L"csv";
    // No question about overwriting: the file is only ever added to.
    chooser.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN | OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameW(&chooser)) {
        return std::nullopt;
    }
    return Utf8(path.data());
}

std::string DocumentsFolder()
{
    PWSTR folder = nullptr;
    std::string documents;
    if (::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder) == S_OK) {
        documents = Utf8(folder);
    }
    ::CoTaskMemFree(folder);
    return documents;
}

bool OpenDocument(const std::string& path)
{
    // Anything above 32 is success, for the sake of 16-bit Windows.
    const auto started = ::ShellExecuteW(nullptr, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

void Beep()
{
    ::MessageBeep(MB_OK);
}

}  // namespace tarnel::dialog
