// The dialogs on USER32: each dialog template is built in memory in the
// platform's own format, in dialog units of the Song face, and run by the
// system's dialog manager, whose keys, timer and modal loops are the
// platform's own.

#include "dialog/application.h"
#include "dialog/dialog.h"
#include "dialog/window.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace tarnel::dialog {
namespace {

// Window classes of the standard controls, as template atoms.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;

constexpr WORD kFontPoints = 9;
constexpr const wchar_t* kFontFace = L"宋体";

std::wstring Wide(const std::string& utf8)
{
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
    return wide;
}

std::string Utf8(const std::wstring& wide)
{
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                          nullptr);
    return utf8;
}

// An extended dialog template (DLGTEMPLATEEX and its items), word by word.
class TemplateWriter {
public:
    const DLGTEMPLATE* Data() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value)
    {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const std::wstring& text)
    {
        m_words.insert(m_words.end(), text.begin(), text.end());
        Word(0);
    }
    void Ordinal(WORD value)
    {
        Word(0xFFFF);
        Word(value);
    }
    void AlignToDword()
    {
        if (m_words.size() % 2 != 0) {
            Word(0);
        }
    }

private:
    std::vector<WORD> m_words;
};

struct ItemStyle {
    WORD windowClass;
    DWORD style;
};

ItemStyle StyleOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label: return {kStaticClass, SS_LEFT | SS_NOPREFIX | WS_GROUP};
    case ControlKind::Edit: return {kEditClass, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::Button: return {kButtonClass, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::DefaultButton: return {kButtonClass, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP};
    case ControlKind::Combo: return {kComboBoxClass, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::Frame: return {kButtonClass, BS_GROUPBOX};
    case ControlKind::Icon: return {kStaticClass, SS_ICON};
    }
    return {kStaticClass, 0};
}

TemplateWriter BuildTemplate(const DialogTemplate& dialogTemplate)
{
    TemplateWriter out;
    out.Word(1);       // extended template, version 1
    out.Word(0xFFFF);  // its signature
    out.Dword(0);      // help ID
    out.Dword(dialogTemplate.appWindow ? WS_EX_APPWINDOW : 0);
    out.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER |
              (dialogTemplate.appWindow ? WS_VISIBLE : 0));
    out.Word(static_cast<WORD>(dialogTemplate.controls.size()));
    for (const int value : {0, 0, dialogTemplate.cx, dialogTemplate.cy}) {
        out.Word(static_cast<WORD>(value));
    }
    out.Word(0);  // no menu
    out.Word(0);  // the system's dialog class
    out.Text(Wide(dialogTemplate.title));
    out.Word(kFontPoints);
    out.Word(FW_NORMAL);
    out.Word(MAKEWORD(FALSE, GB2312_CHARSET));  // not italic; the Simplified Chinese character set
    out.Text(kFontFace);
    for (const ControlTemplate& control : dialogTemplate.controls) {
        out.AlignToDword();
        const ItemStyle item = StyleOf(control.kind);
        out.Dword(0);  // help ID
        out.Dword(0);  // extended style
        out.Dword(WS_CHILD | WS_VISIBLE | item.style);
        for (const int value : {control.x, control.y, control.cx, control.cy}) {
            out.Word(static_cast<WORD>(value));
        }
        out.Dword(static_cast<DWORD>(control.id));
        out.Ordinal(item.windowClass);
        if (control.kind == ControlKind::Icon) {
            out.Ordinal(static_cast<WORD>(control.icon));
        } else {
            out.Text(Wide(control.caption));
        }
        out.Word(0);  // no creation data
    }
    return out;
}

// Shows the standard OK button as "确定" whatever the system's language: a
// CBT hook renames it as the box activates.
class ChineseOkButton {
public:
    ChineseOkButton() : m_hook(::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId())) {}
    ~ChineseOkButton() { ::UnhookWindowsHookEx(m_hook); }
    ChineseOkButton(const ChineseOkButton&) = delete;
    ChineseOkButton& operator=(const ChineseOkButton&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_ACTIVATE) {
            wchar_t className[16] = {};
            const HWND window = reinterpret_cast<HWND>(wParam);
            // #32770: a dialog; the box is the one with its OK button at IDOK.
            if (::GetClassNameW(window, className, 16) && std::wcscmp(className, L"#32770") == 0 &&
                ::GetDlgItem(window, IDOK) && !::GetDlgItem(window, IDCANCEL)) {
                ::SetDlgItemTextW(window, IDOK, L"确定");
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook;
};

void ShowBox(HWND owner, const std::string& text, const std::string& informative)
{
    const std::wstring title = AfxGetApp() ? Wide(AfxGetApp()->Name()) : std::wstring();
    const std::wstring body = Wide(informative.empty() ? text : text + "\n\n" + informative);
    ChineseOkButton ok;
    ::MessageBoxW(owner, body.c_str(), title.c_str(), MB_OK);
}

class Win32Window : public Window {
public:
    explicit Win32Window(CDialog& dialog) : m_dialog(dialog) {}

    HWND Handle() const { return m_hwnd; }

    int RunModal() override
    {
        const TemplateWriter dialogTemplate = BuildTemplate(m_dialog.Template());
        const HWND owner = m_dialog.Parent() ? static_cast<Win32Window&>(m_dialog.Parent()->Window()).Handle() : nullptr;
        const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Data(), owner,
                                                         DialogProc, reinterpret_cast<LPARAM>(this));
        m_hwnd = nullptr;
        m_items.clear();
        return static_cast<int>(result);
    }

    void End(int result) override { ::EndDialog(m_hwnd, result); }

    std::string Text(int id) const override
    {
        const HWND item = Item(id);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(item)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(::GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
        return Utf8(text);
    }

    // Unchanged text is not set again: each write repaints the control, and
    // the scan writes the whole form every tick.
    void SetText(int id, const std::string& text) override
    {
        if (Text(id) != text) {
            ::SetWindowTextW(Item(id), Wide(text).c_str());
        }
    }

    void FocusFirstTabStop() override { FocusOn(::GetNextDlgTabItem(m_hwnd, nullptr, FALSE)); }

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
        ::SetTimer(m_hwnd, static_cast<UINT_PTR>(id), elapseMs, nullptr);
    }

    void StopTimer(int id) override { ::KillTimer(m_hwnd, static_cast<UINT_PTR>(id)); }

    void AppendToSystemMenu(const std::string& text, unsigned id) override
    {
        if (const HMENU menu = ::GetSystemMenu(m_hwnd, FALSE)) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, id, Wide(text).c_str());
            m_menuCommands.push_back(id);
        }
    }

    void SetIcon(int resource) override
    {
        m_icon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource));
        ::SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
        ::SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    }

    void SetToolTip(int id, std::function<std::string()> text) override
    {
        if (!m_toolTip) {
            m_toolTip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
            // A width makes the tooltip break its text at the line ends.
            ::SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, 600);
        }
        const HWND item = Item(id);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = m_hwnd;
        tool.uId = reinterpret_cast<UINT_PTR>(item);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        // The tool's mouse messages reach the tooltip through a plain window
        // procedure: the common controls' own subclass looks itself up in the
        // window's properties on every message, which Wine asks its server
        // for, and the scan reads the port edit every tick.
        ::SetWindowLongPtrW(item, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        const auto proc = ::SetWindowLongPtrW(item, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolProc));
        m_toolTips[tool.uId] = {std::move(text), reinterpret_cast<WNDPROC>(proc)};
    }

    void ShowMessage(const std::string& text, const std::string& informative) override
    {
        ShowBox(m_hwnd, text, informative);
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
            auto* window = reinterpret_cast<Win32Window*>(lParam);
            window->m_hwnd = hwnd;
            window->m_dialog.Initialize();
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
                m_dialog.Clicked(LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        case WM_TIMER:
            m_dialog.Tick(static_cast<int>(wParam));
            return TRUE;
        case WM_SYSCOMMAND:
            for (const unsigned id : m_menuCommands) {
                if ((wParam & 0xFFF0) == id) {
                    m_dialog.SysCommand(static_cast<unsigned>(wParam));
                    return TRUE;
                }
            }
            return FALSE;
        case WM_PAINT: return ::IsIconic(m_hwnd) && m_icon ? PaintMinimised() : FALSE;
        case WM_QUERYDRAGICON: return reinterpret_cast<INT_PTR>(m_icon);
        case WM_NOTIFY: return ToolTipText(reinterpret_cast<NMHDR*>(lParam));
        default: return FALSE;
        }
    }

    // The icon at the standard size, centred in the client area.
    INT_PTR PaintMinimised()
    {
        PAINTSTRUCT paint;
        const HDC dc = ::BeginPaint(m_hwnd, &paint);
        ::SendMessageW(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        const int cx = ::GetSystemMetrics(SM_CXICON);
        const int cy = ::GetSystemMetrics(SM_CYICON);
        RECT client;
        ::GetClientRect(m_hwnd, &client);
        ::DrawIcon(dc, (client.right - client.left - cx + 1) / 2, (client.bottom - client.top - cy + 1) / 2, m_icon);
        ::EndPaint(m_hwnd, &paint);
        return TRUE;
    }

    // Controls are looked up once: Wine asks its server for every
    // GetDlgItem, and the scan reads and writes the form every tick.
    HWND Item(int id) const
    {
        const auto [at, added] = m_items.try_emplace(id);
        if (added) {
            at->second = ::GetDlgItem(m_hwnd, id);
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
            ::SendMessageW(window->m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
        }
        const WNDPROC proc = window->m_toolTips.at(reinterpret_cast<UINT_PTR>(tool)).proc;
        return ::CallWindowProcW(proc, tool, message, wParam, lParam);
    }

    INT_PTR ToolTipText(NMHDR* header)
    {
        if (header->code != TTN_GETDISPINFOW) {
            return FALSE;
        }
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        const auto source = m_toolTips.find(header->idFrom);
        if (source == m_toolTips.end()) {
            return FALSE;
        }
        m_toolTipText = Wide(source->second.text());
        info->lpszText = m_toolTipText.data();
        return TRUE;
    }

    void FocusOn(HWND item) const
    {
        if (item) {
            ::SendMessageW(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
        }
    }

    CDialog& m_dialog;
    HWND m_hwnd = nullptr;
    HICON m_icon = nullptr;
    HWND m_toolTip = nullptr;
    std::vector<unsigned> m_menuCommands;
    struct ToolTipSource {
        std::function<std::string()> text;
        WNDPROC proc;  // the tool's own
    };
    std::map<UINT_PTR, ToolTipSource> m_toolTips;
    mutable std::map<int, HWND> m_items;
    std::wstring m_toolTipText;
};

}  // namespace

std::unique_ptr<Window> Window::Create(CDialog& dialog)
{
    return std::make_unique<Win32Window>(dialog);
}

void ApplicationMessageBox(const std::string& text, const std::string& informative)
{
    ShowBox(::GetActiveWindow(), text, informative);
}

}  // namespace tarnel::dialog
