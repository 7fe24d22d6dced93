#include "dialog/test_access.h"

#include "dialog/window_win32.h"
#include "platform/wide_text_win32.h"

#include <commctrl.h>

#include <array>
#include <functional>

namespace tarnel::dialog::testing {
namespace {

using platform::Utf8;
using platform::Wide;

// Commands from SC_SIZE up are the system's own.
constexpr UINT kFirstSystemCommand = SC_SIZE;

// The first of this thread's windows that `match` takes.
HWND FindThreadWindow(const std::function<bool(HWND)>& match)
{
    struct Search {
        const std::function<bool(HWND)>& match;
        HWND found = nullptr;
    } search{match};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) {
            auto& s = *reinterpret_cast<Search*>(lParam);
            if (s.match(window)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassOf(HWND window)
{
    std::array<wchar_t, 64> name{};
    return {name.data(), static_cast<std::size_t>(::GetClassNameW(window, name.data(), 64))};
}

std::string TextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

// The dialog's own window-menu commands, in order.
std::vector<UINT> MenuCommands(HMENU menu)
{
    std::vector<UINT> commands;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        const UINT id = ::GetMenuItemID(menu, i);
        if (id != 0 && id != UINT(-1) && id < kFirstSystemCommand) {
            commands.push_back(id);
        }
    }
    return commands;
}

}  // namespace

std::string ToolTipText(const CDialog& dialog, int id)
{
    const HWND window = win32::HandleOf(dialog);
    const HWND toolTip = FindThreadWindow([window](HWND w) {
        return ::GetWindow(w, GW_OWNER) == window && ClassOf(w) == TOOLTIPS_CLASSW;
    });
    if (!toolTip) {
        return {};
    }
    // The common controls hand out at most this much of a callback's text.
    std::array<wchar_t, 1024> text{};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(window, id));
    tool.lpszText = text.data();
    ::SendMessageW(toolTip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    return Utf8(text.data());
}

std::vector<std::string> WindowMenuItems(const CDialog& dialog)
{
    const HMENU menu = ::GetSystemMenu(win32::HandleOf(dialog), FALSE);
    std::vector<std::string> texts;
    for (const UINT id : MenuCommands(menu)) {
        std::array<wchar_t, 256> text{};
        ::GetMenuStringW(menu, id, text.data(), static_cast<int>(text.size()), MF_BYCOMMAND);
        texts.push_back(Utf8(text.data()));
    }
    return texts;
}

void ChooseWindowMenuItem(const CDialog& dialog, std::size_t index)
{
    const HWND window = win32::HandleOf(dialog);
    ::SendMessageW(window, WM_SYSCOMMAND, MenuCommands(::GetSystemMenu(window, FALSE)).at(index), 0);
}

void Click(const CDialog& dialog, int id)
{
    const HWND window = win32::HandleOf(dialog);
    const HWND item = ::GetDlgItem(window, id);
    if (::IsWindowEnabled(item)) {
        ::PostMessageW(item, BM_CLICK, 0, 0);
    }
}

void LetTickFallDue(const CDialog&) {}

bool IsEnabled(const CDialog& dialog, int id)
{
    return ::IsWindowEnabled(::GetDlgItem(win32::HandleOf(dialog), id));
}

std::vector<std::vector<std::string>> ListRows(const CDialog& dialog, int id)
{
    const HWND list = ::GetDlgItem(win32::HandleOf(dialog), id);
    const auto columns = static_cast<int>(
        ::SendMessageW(reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++row) {
        std::vector<std::string>& cells = rows.emplace_back();
        for (int column = 0; column < columns; ++column) {
            std::array<wchar_t, 512> text{};
            LVITEMW cell{};
            cell.iSubItem = column;
            cell.pszText = text.data();
            cell.cchTextMax = static_cast<int>(text.size());
            ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
            cells.push_back(Utf8(text.data()));
        }
    }
    return rows;
}

bool AnswerFileChooser(const std::string& path)
{
    // The common dialog: a system dialog with the file name at cmb13 (an
    // editable list) or edt1.
    constexpr int kNameList = 0x47C;
    constexpr int kNameEdit = 0x480;
    const HWND chooser = FindThreadWindow([](HWND w) {
        return ::IsWindowVisible(w) && ClassOf(w) == L"#32770" &&
               (::GetDlgItem(w, kNameList) || ::GetDlgItem(w, kNameEdit));
    });
    if (!chooser) {
        return false;
    }
    ::SetDlgItemTextW(chooser, ::GetDlgItem(chooser, kNameList) ? kNameList : kNameEdit, Wide(path).c_str());
    ::PostMessageW(chooser, WM_COMMAND, IDOK, 0);
    return true;
}

std::optional<Box> CloseMessageBox()
{
    // A box is the system's dialog with its text at ID 0xFFFF.
    const HWND box = FindThreadWindow([](HWND w) {
        return ::IsWindowVisible(w) && ClassOf(w) == L"#32770" && ::GetDlgItem(w, 0xFFFF);
    });
    if (!box) {
        return std::nullopt;
    }
    Box seen{TextOf(box), TextOf(::GetDlgItem(box, 0xFFFF)), TextOf(::GetDlgItem(box, IDOK))};
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return seen;
}

}  // namespace tarnel::dialog::testing
