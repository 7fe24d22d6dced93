// The dialogs on USER32: each run builds the dialog's template in memory
// and hands it to the system's dialog manager, whose keys, timer and modal
// loops are the platform's own.

#include "dialog/window_win32.h"

#include "dialog/template_win32.h"
#include "dialog/window.h"
#include "platform/wide_text_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include <functional>
#include <map>
#include <vector>

namespace tarnel::dialog::win32 {
namespace {

using platform::Utf8;
using platform::Wide;

// The bits of a window-menu command that the system keeps for itself.
constexpr WPARAM kSystemCommandBits = 0x000F;

// A heading's type against the dialog's.
constexpr int kHeadingScale = 3;  // halves

// A multi-line edit keeps its lines apart with CR LF.
std::string WithLineEnds(const std::string& text, const char* lineEnd)
{
    std::string converted;
    for (const char c : text) {
        if (c == '\n') {
            converted += lineEnd;
        } else if (c != '\r') {
            converted += c;
        }
    }
    return converted;
}

class Win32Window : public Window {
public:
    explicit Win32Window(CDialog& dialog) : m_dialog(dialog) {}

    HWND Handle() const { return m_run.hwnd; }

    int RunModal() override
    {
        const InMemoryTemplate dialogTemplate(m_dialog.Template());
        const HWND owner = m_dialog.Parent() ? HandleOf(*m_dialog.Parent()) : nullptr;
        const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Data(), owner,
                                                         DialogProc, reinterpret_cast<LPARAM>(this));
        // The window and everything it owned (tooltip, timer, menu) are gone.
        if (m_run.headingFont) {
            ::DeleteObject(m_run.headingFont);
        }
        m_run = {};
        return static_cast<int>(result);
    }

    void End(int result) override { ::EndDialog(m_run.hwnd, result); }

    std::string Text(int id) const override
    {
        const HWND item = Item(id);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
        return WithLineEnds(Utf8(text), "\n");
    }

    // Unchanged text is not set again: each write repaints the control, and
    // the scan writes the whole form every tick.
    void SetText(int id, const std::string& text) override
    {
        if (Text(id) != text) {
            ::SetWindowTextW(Item(id), Wide(WithLineEnds(text, "\r\n")).c_str());
        }
    }

    bool IsChecked(int id) const override { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    void SetChecked(int id, bool checked) override
    {
        ::SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    void Enable(int id, bool enabled) override { ::EnableWindow(Item(id), enabled); }

    void AddRow(int id, const std::vector<std::string>& cells) override
    {
        const HWND list = Item(id);
        LVITEMW row{};
        row.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
        for (std::size_t column = 0; column < cells.size(); ++column) {
            std::wstring text = Wide(cells[column]);
            LVITEMW cell{};
            cell.iSubItem = static_cast<int>(column);
            cell.pszText = text.data();
            ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row.iItem), reinterpret_cast<LPARAM>(&cell));
        }
        ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row.iItem), FALSE);
    }

    void ClearRows(int id) override { ::SendMessageW(Item(id), LVM_DELETEALLITEMS, 0, 0); }

    void FocusFirstTabStop() override { FocusOn(::GetNextDlgTabItem(m_run.hwnd, nullptr, FALSE)); }

    void FocusAndSelect(int id) override
    {
        if (const HWND item = Item(id)) {
            FocusOn(item);
            ::SendMessageW(item, EM_SETSEL, 0, -1);
        }
    }

    void AddItem(int id, const std::string& text) override
    {
        ::SendMessageW(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    }

    int Selection(int id) const override
    {
        return static_cast<int>(::SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
    }

    void Select(int id, int index) override { ::SendMessageW(Item(id), CB_SETCURSEL, index, 0); }

    // Setting a running timer again resets it, a tick already due included;
    // the system's WM_TIMER comes only once no input waits, so a click
    // made during a blocking tick is handled first.
    void StartTimer(int id, unsigned elapseMs) override
    {
        ::SetTimer(m_run.hwnd, static_cast<UINT_PTR>(id), elapseMs, nullptr);
    }

    void StopTimer(int id) override { ::KillTimer(m_run.hwnd, static_cast<UINT_PTR>(id)); }

    void AppendToSystemMenu(const std::string& text, unsigned id) override
    {
        if (const HMENU menu = ::GetSystemMenu(m_run.hwnd, FALSE)) {
            if (m_run.menuCommands.empty()) {
                ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            }
            ::AppendMenuW(menu, MF_STRING, id, Wide(text).c_str());
            m_run.menuCommands.push_back(id);
        }
    }

    void SetIcon(int resource) override
    {
        m_run.icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource));
        ::SendMessageW(m_run.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_run.icon));
        ::SendMessageW(m_run.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_run.icon));
    }

    void SetToolTip(int id, std::function<std::string()> text) override
    {
        if (!m_run.toolTip) {
            m_run.toolTip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_run.hwnd, nullptr,
                                              ::GetModuleHandleW(nullptr), nullptr);
            // A width makes the tooltip break its text at the line ends.
            ::SendMessageW(m_run.toolTip, TTM_SETMAXTIPWIDTH, 0, 600);
        }
        const HWND item = Item(id);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = m_run.hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(item);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(m_run.toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        // The tool's mouse messages reach the tooltip through a plain window
        // procedure: the common controls' own subclass looks itself up in the
        // window's properties on every message, which Wine asks its server
        // for, and the scan reads the port edit every tick.
        ::SetWindowLongPtrW(item, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const auto proc = ::SetWindowLongPtrW(item, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolProc));
        m_run.toolTips[tool.uId] = {std::move(text), reinterpret_cast<WNDPROC>(proc)};
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
            auto* window = reinterpret_cast<Win32Window*>(lParam);
            window->m_run.hwnd = hwnd;
            window->PrepareControls();
            Backend::Initialize(window->m_dialog);
            return FALSE;  // the focus is set
        }
        auto* window = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        return window ? window->Handle(message, wParam, lParam) : FALSE;
    }

    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_COMMAND:
            // Clicks, and IDOK or IDCANCEL from Enter, Escape and the close box.
            if (HIWORD(wParam) == BN_CLICKED) {
                Backend::Clicked(m_dialog, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_TIMER:
            Backend::Tick(m_dialog, static_cast<int>(wParam));
            return TRUE;
        case WM_SYSCOMMAND: {
            const auto command = static_cast<unsigned>(wParam & ~kSystemCommandBits);
            for (const unsigned id : m_run.menuCommands) {
                if (command == id) {
                    Backend::SysCommand(m_dialog, command);
                    return TRUE;
                }
            }
            return FALSE;
        }
        case WM_PAINT: return ::IsIconic(m_run.hwnd) && m_run.icon ? PaintMinimised() : FALSE;
        case WM_QUERYDRAGICON: return reinterpret_cast<INT_PTR>(m_run.icon);
        case WM_NOTIFY: return ToolTipText(reinterpret_cast<NMHDR*>(lParam));
        default: return FALSE;
        }
    }

    // What the template alone cannot say: a list's columns, a heading's type.
    void PrepareControls()
    {
        for (const ControlTemplate& control : m_dialog.Template().controls) {
            if (control.kind == ControlKind::List) {
                PrepareList(control);
            } else if (control.kind == ControlKind::Heading) {
                ::SendMessageW(Item(control.id), WM_SETFONT, reinterpret_cast<WPARAM>(HeadingFont()), FALSE);
            }
        }
    }

    void PrepareList(const ControlTemplate& control)
    {
        const HWND list = Item(control.id);
        ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        for (std::size_t index = 0; index < control.items.size(); ++index) {
            RECT width{0, 0, index < control.widths.size() ? control.widths[index] : 40, 0};
            ::MapDialogRect(m_run.hwnd, &width);
            std::wstring title = Wide(control.items[index]);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = width.right;
            column.pszText = title.data();
            ::SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
        }
    }

    HFONT HeadingFont()
    {
        if (!m_run.headingFont) {
            LOGFONTW font{};
            ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(m_run.hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
            font.lfHeight = font.lfHeight * kHeadingScale / 2;
            m_run.headingFont = ::CreateFontIndirectW(&font);
        }
        return m_run.headingFont;
    }

    // The icon at the standard size, centred in the client area.
    INT_PTR PaintMinimised()
    {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(m_run.hwnd, &paint);
        ::SendMessageW(m_run.hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const int cx = ::GetSystemMetrics(SM_CXICON);
        const int cy = ::GetSystemMetrics(SM_CYICON);
        RECT client;
        ::GetClientRect(m_run.hwnd, &client);
        ::DrawIcon(dc, (client.right - client.left - cx + 1) / 2, (client.bottom - client.top - cy + 1) / 2,
                   m_run.icon);
        ::EndPaint(m_run.hwnd, &paint);
        return TRUE;
    }

    // Controls are looked up once: Wine asks its server for every
    // GetDlgItem, and the scan reads and writes the form every tick.
    HWND Item(int id) const
    {
        const auto [at, added] = m_run.items.try_emplace(id);
        if (added) {
            at->second = ::GetDlgItem(m_run.hwnd, id);
        }
        return at->second;
    }

    static LRESULT CALLBACK ToolProc(HWND tool, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* window = reinterpret_cast<Win32Window*>(::GetWindowLongPtrW(tool, GWLP_USERDATA));
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) {
            const DWORD at = ::GetMessagePos();
            MSG relayed{tool, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
                        {GET_X_LPARAM(at), GET_Y_LPARAM(at)}};
            ::SendMessageW(window->m_run.toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        }
        const WNDPROC proc = window->m_run.toolTips.at(reinterpret_cast<UINT_PTR>(tool)).proc;
        return ::CallWindowProcW(proc, tool, message, wParam, lParam);
    }

    INT_PTR ToolTipText(NMHDR* header)
    {
        if (header->code != TTN_GETDISPINFOW) {
            return FALSE;
        }
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        const auto source = m_run.toolTips.find(header->idFrom);
        if (source == m_run.toolTips.end()) {
            return FALSE;
        }
        m_run.toolTipText = Wide(source->second.text());
        info->lpszText = m_run.toolTipText.data();
        return TRUE;
    }

    void FocusOn(HWND item) const
    {
        if (item) {
            ::SendMessageW(m_run.hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
        }
    }

    struct ToolTipSource {
        std::function<std::string()> text;
        WNDPROC proc;  // the tool's own
    };

    CDialog& m_dialog;
    // What one run made; it goes with the run's window.
    struct Run {
        HWND hwnd = nullptr;
        HICON icon = nullptr;
        HFONT headingFont = nullptr;
        HWND toolTip = nullptr;
        std::vector<unsigned> menuCommands;
        std::map<UINT_PTR, ToolTipSource> toolTips;
        mutable std::map<int, HWND> items;
        std::wstring toolTipText;
    };
    Run m_run;
};

}  // namespace

HWND HandleOf(const CDialog& dialog)
{
    return static_cast<Win32Window&>(Backend::WindowOf(dialog)).Handle();
}

}  // namespace tarnel::dialog::win32

namespace tarnel::dialog {

std::unique_ptr<Window> Window::Create(CDialog& dialog)
{
    return std::make_unique<win32::Win32Window>(dialog);
}

}  // namespace tarnel::dialog
