// Run under Wine: the dialog manager reads the in-memory template as it was
// meant, each control of every kind with its class, ID, style, caption and
// place, the items after captions of odd and even length alike (the items
// are aligned on 32 bits). Exits 1 on any mismatch.

#include "dialog/look.h"
#include "dialog/template_win32.h"
#include "dialog/text_win32.h"

#include <array>
#include <cstdio>
#include <string>

namespace {

using tarnel::dialog::win32::Wide;

std::wstring Text(HWND window, bool className = false)
{
    std::array<wchar_t, 64> text{};
    const int length = className ? ::GetClassNameW(window, text.data(), 64) : ::GetWindowTextW(window, text.data(), 64);
    return {text.data(), static_cast<std::size_t>(length)};
}

}  // namespace

int main()
{
    const struct {
        ControlTemplate control;
        const wchar_t* windowClass;
        DWORD style;  // style bits it must have
    } cases[] = {
        {{ControlKind::Label, 20, "label", "标签", 3, 4, 40, 9}, L"Static", SS_NOPREFIX},
        {{ControlKind::Edit, 21, "edit", "odd", 5, 16, 41, 13}, L"Edit", ES_AUTOHSCROLL | WS_TABSTOP},
        {{ControlKind::Button, 22, "button", "按钮", 50, 4, 30, 14}, L"Button", BS_PUSHBUTTON | WS_TABSTOP},
        {{ControlKind::DefaultButton, IDOK, "IDOK", "确定", 50, 20, 30, 14}, L"Button", BS_DEFPUSHBUTTON},
        {{ControlKind::Combo, 23, "list", "", 5, 32, 41, 60}, L"ComboBox", CBS_DROPDOWN},
        {{ControlKind::Frame, IDC_STATIC, "frame", "框", 1, 1, 90, 50}, L"Button", BS_GROUPBOX},
    };
    std::array<ControlTemplate, std::size(cases)> controls{};
    for (std::size_t i = 0; i < controls.size(); ++i) {
        controls[i] = cases[i].control;
    }
    const DialogTemplate dialogTemplate{"模板", 100, 60, controls};
    const tarnel::dialog::win32::InMemoryTemplate made(dialogTemplate);
    const HWND dialog = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), made.Data(), nullptr,
                                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    int failures = 0;
    const auto expect = [&failures](bool holds, const char* what, const char* name) {
        if (!holds) {
            std::printf("FAIL: %s of %s\n", what, name);
            ++failures;
        }
    };
    expect(dialog != nullptr, "the window", "the dialog");
    if (!dialog) {
        return 1;
    }
    expect(Text(dialog) == L"模板", "the title", "the dialog");
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    expect(font.lfFaceName == Wide(tarnel::dialog::look::kFontFaces[0]), "the face", "the dialog");
    // The controls in template order, which is also the order of the windows.
    HWND item = ::GetWindow(dialog, GW_CHILD);
    for (const auto& c : cases) {
        const char* name = c.control.name;
        expect(item != nullptr, "the window", name);
        if (!item) {
            break;
        }
        // Place and size in pixels, each converted on its own as the dialog manager does.
        RECT expected{c.control.x, c.control.y, c.control.cx, c.control.cy};
        ::MapDialogRect(dialog, &expected);
        RECT seen;
        ::GetWindowRect(item, &seen);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&seen), 2);
        expect(::GetDlgCtrlID(item) == c.control.id, "the ID", name);
        expect(Text(item, true) == c.windowClass, "the class", name);
        expect((::GetWindowLongW(item, GWL_STYLE) & c.style) == c.style, "the style", name);
        // A drop-down list is as high as its edit; the template gives the dropped-down height.
        expect(seen.left == expected.left && seen.top == expected.top && seen.right - seen.left == expected.right &&
                   (c.control.kind == ControlKind::Combo || seen.bottom - seen.top == expected.bottom),
               "the place", name);
        if (c.control.kind != ControlKind::Combo) {
            expect(Text(item) == Wide(c.control.caption), "the caption", name);
        }
        item = ::GetWindow(item, GW_HWNDNEXT);
    }
    ::DestroyWindow(dialog);
    std::printf("%d mismatches\n", failures);
    return failures == 0 ? 0 : 1;
}
