#include "dialog/template_win32.h"

#include "dialog/look.h"
#include "platform/wide_text_win32.h"

#include <commctrl.h>

namespace tarnel::dialog::win32 {
namespace {

using platform::Wide;

// Window classes of the standard controls, as template atoms.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kComboBoxClass = 0x0085;

// A list view has no atom: its class goes by name.
constexpr WORD kByName = 0;

struct ItemStyle {
    WORD windowClass;
    DWORD style;
};

ItemStyle StyleOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::Heading: return {kStaticClass, SS_LEFT | SS_NOPREFIX | WS_GROUP};
    case ControlKind::Edit: return {kEditClass, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::Button: return {kButtonClass, BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::DefaultButton: return {kButtonClass, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP};
    case ControlKind::CheckBox: return {kButtonClass, BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::Combo: return {kComboBoxClass, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::List:
        return {kByName, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP};
    case ControlKind::Text:
        return {kEditClass, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::Frame: return {kButtonClass, BS_GROUPBOX};
    case ControlKind::Icon: return {kStaticClass, SS_ICON};
    }
    return {kStaticClass, 0};
}

}  // namespace

InMemoryTemplate::InMemoryTemplate(const DialogTemplate& dialogTemplate)
{
    Word(1);       // extended template, version 1
    Word(0xFFFF);  // its signature
    Dword(0);      // help ID
    Dword(dialogTemplate.appWindow ? WS_EX_APPWINDOW : 0);
    Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER |
          (dialogTemplate.appWindow ? WS_VISIBLE : 0));
    Word(static_cast<WORD>(dialogTemplate.controls.size()));
    for (const int value : {0, 0, dialogTemplate.cx, dialogTemplate.cy}) {
        Word(static_cast<WORD>(value));
    }
    Word(0);  // no menu
    Word(0);  // the system's dialog class
    Text(Wide(dialogTemplate.title));
    Word(static_cast<WORD>(look::kFontPoints));
    Word(FW_NORMAL);
    Word(MAKEWORD(FALSE, GB2312_CHARSET));  // not italic; the Simplified Chinese character set
    Text(Wide(look::kFontFaces[0]));
    for (const ControlTemplate& control : dialogTemplate.controls) {
        AlignToDword();
        const ItemStyle item = StyleOf(control.kind);
        Dword(0);  // help ID
        Dword(0);  // extended style
        Dword(WS_CHILD | WS_VISIBLE | item.style);
        for (const int value : {control.x, control.y, control.cx, control.cy}) {
            Word(static_cast<WORD>(value));
        }
        Dword(static_cast<DWORD>(control.id));
        if (item.windowClass == kByName) {
            Text(WC_LISTVIEWW);
        } else {
            Ordinal(item.windowClass);
        }
        if (control.kind == ControlKind::Icon) {
            Ordinal(static_cast<WORD>(control.icon));
        } else {
            Text(Wide(control.caption));
        }
        Word(0);  // no creation data
    }
}

void InMemoryTemplate::Dword(DWORD value)
{
    Word(LOWORD(value));
    Word(HIWORD(value));
}

void InMemoryTemplate::Text(const std::wstring& text)
{
    m_words.insert(m_words.end(), text.begin(), text.end());
    Word(0);
}

void InMemoryTemplate::Ordinal(WORD value)
{
    Word(0xFFFF);
    Word(value);
}

void InMemoryTemplate::AlignToDword()
{
    if (m_words.size() % 2 != 0) {
        Word(0);
    }
}

}  // namespace tarnel::dialog::win32
