#include "dialog/system_menu.h"

#include <windows.h>
#include <commctrl.h>

namespace tarnel::dialog {
namespace {

struct MenuRoute {
    unsigned id;
    std::function<void(unsigned)> onCommand;
};

constexpr UINT_PTR kSubclassId = 0x10;

LRESULT CALLBACK SystemMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data)
{
    auto* route = reinterpret_cast<MenuRoute*>(data);
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == route->id) {
        route->onCommand(static_cast<unsigned>(wParam));
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, SystemMenuProc, kSubclassId);
        delete route;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

std::wstring Wide(const std::string& utf8)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

}  // namespace

bool AppendToSystemMenu(std::uintptr_t window, const std::string& text, unsigned id,
                        std::function<void(unsigned)> onCommand)
{
    const HWND hwnd = reinterpret_cast<HWND>(window);
    const HMENU menu = ::GetSystemMenu(hwnd, FALSE);
    if (!menu) {
        return false;
    }
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, id, Wide(text).c_str());
    auto* route = new MenuRoute{id, std::move(onCommand)};
    if (!::SetWindowSubclass(hwnd, SystemMenuProc, kSubclassId, reinterpret_cast<DWORD_PTR>(route))) {
        delete route;
        return false;
    }
    return true;
}

}  // namespace tarnel::dialog
