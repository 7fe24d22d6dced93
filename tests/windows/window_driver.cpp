// Drives a running Tarnel window from another process under Wine, as a
// test needs it: runs its arguments as steps, in order, and prints one line
// for each. Exits 1 when a step cannot be done.
//
//   text ID            the text of control ID          -> the text
//   set ID TEXT        puts TEXT into control ID
//   list ID            the entries of list ID          -> entries | selected index
//   select ID INDEX    selects entry INDEX of list ID
//   click ID           clicks button ID (posted, so a box it opens does not block)
//   box                waits for a message box, prints its text and button, and closes it
//   no-box MS          checks that no box opens within MS
//   menu               opens the window menu, as Alt+Space does
//   about              waits for the about box, prints it and closes it
//   tip                waits for a shown tooltip                -> its text
//   center ID          where control ID's centre is in the client area -> x y
//   rect ID            where control ID is in the client area -> w h x y
//   spot ID            where control ID's centre is on the screen   -> x y
//   in TITLE           waits for the dialog TITLE; the steps after it act on it
//   close              closes the window (the program ends)

#include "platform/wide_text_win32.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using tarnel::platform::Utf8;

constexpr int kMessageText = 0xFFFF;  // a message box's text: a static without an ID
constexpr int kPortEdit = 1007;       // only the operator window has it

std::wstring TextOf(HWND window)
{
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// The first shown top-level window of `windowClass` (a dialog's by default)
// for which `test` holds, within `ms`.
template <class Test>
HWND FindShown(Test test, int ms, const wchar_t* windowClass = L"#32770")
{
    for (int waited = 0; waited <= ms; waited += 20) {
        for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, windowClass, nullptr));) {
            if (IsWindowVisible(found) && test(found)) {
                return found;
            }
        }
        Sleep(20);
    }
    return nullptr;
}

HWND MessageBoxWindow(int ms)
{
    return FindShown([](HWND w) { return GetDlgItem(w, kMessageText) && !GetDlgItem(w, kPortEdit); }, ms);
}

void Print(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    HWND window = FindShown([](HWND w) { return GetDlgItem(w, kPortEdit) != nullptr; }, 20000);
    if (!window) {
        Print("no Tarnel window");
        return 1;
    }
    for (int at = 1; at < argc; ++at) {
        const std::wstring step = argv[at];
        const auto id = [&] { return at + 1 < argc ? std::wcstol(argv[++at], nullptr, 10) : 0; };
        if (step == L"text") {
            Print(Utf8(TextOf(GetDlgItem(window, id()))));
        } else if (step == L"set") {
            const HWND control = GetDlgItem(window, id());
            SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[++at]));
        } else if (step == L"list") {
            const HWND list = GetDlgItem(window, id());
            std::wstring line;
            const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                wchar_t entry[64] = {};
                SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
                line += std::wstring(entry) + L" ";
            }
            Print(Utf8(line) + "| " + std::to_string(SendMessageW(list, CB_GETCURSEL, 0, 0)));
        } else if (step == L"select") {
            const HWND list = GetDlgItem(window, id());
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(id()), 0);
        } else if (step == L"click") {
            PostMessageW(GetDlgItem(window, id()), BM_CLICK, 0, 0);
        } else if (step == L"box") {
            // Long enough for a whole scan to end in its message.
            const HWND box = MessageBoxWindow(90000);
            if (!box) {
                Print("no box");
                return 1;
            }
            Print("box " + Utf8(TextOf(GetDlgItem(box, kMessageText))) + " [" + Utf8(TextOf(GetDlgItem(box, IDOK))) +
                  "] " + Utf8(TextOf(box)) + (GetWindow(box, GW_OWNER) == window ? " (window's)" : ""));
            PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            for (int waited = 0; IsWindow(box) && waited < 5000; waited += 10) {
                Sleep(10);
            }
        } else if (step == L"no-box") {
            Print(MessageBoxWindow(id()) ? "a box" : "no box");
        } else if (step == L"menu") {
            PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        } else if (step == L"about") {
            const HWND about = FindShown([](HWND w) { return TextOf(w) == L"关于 Tarnel"; }, 10000);
            if (!about) {
                Print("no about box");
                return 1;
            }
            std::wstring texts;
            for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                const bool icon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
                texts += L" " + (icon ? std::wstring(L"[icon]") : TextOf(child));
            }
            Print("about" + Utf8(texts));
            PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
        } else if (step == L"tip") {
            const HWND tip = FindShown([](HWND) { return true; }, 5000, L"tooltips_class32");
            Print(tip ? Utf8(TextOf(tip)) : "no tooltip");
        } else if (step == L"center" || step == L"rect") {
            // In the client area, which is the X window that xdotool addresses.
            POINT origin{0, 0};
            ClientToScreen(window, &origin);
            RECT r;
            GetWindowRect(GetDlgItem(window, id()), &r);
            OffsetRect(&r, -origin.x, -origin.y);
            const long w = r.right - r.left, h = r.bottom - r.top;
            Print(step == L"center" ? std::to_string(r.left + w / 2) + " " + std::to_string(r.top + h / 2)
                                    : std::to_string(w) + " " + std::to_string(h) + " " + std::to_string(r.left) +
                                          " " + std::to_string(r.top));
        } else if (step == L"spot") {
            RECT r;
            GetWindowRect(GetDlgItem(window, id()), &r);
            Print(std::to_string((r.left + r.right) / 2) + " " + std::to_string((r.top + r.bottom) / 2));
        } else if (step == L"in") {
            const std::wstring title = at + 1 < argc ? argv[++at] : L"";
            window = FindShown([&title](HWND w) { return TextOf(w) == title; }, 10000);
            if (!window) {
                Print("no dialog " + Utf8(title));
                return 1;
            }
        } else if (step == L"close") {
            PostMessageW(window, WM_CLOSE, 0, 0);
        } else {
            Print("unknown step " + Utf8(step));
            return 1;
        }
    }
    return 0;
}
