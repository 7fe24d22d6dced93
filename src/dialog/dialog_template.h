#pragma once

#include <span>

// A dialog described as data: its size and its controls in template order
// (which is also the tab order), positions and sizes in dialog units.

// The IDs the framework itself knows: controls without an ID of their own,
// and the OK button, which reads the form and closes the dialog.
constexpr int IDC_STATIC = -1;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

enum class ControlKind {
    Label,
    Heading,  // a label in a larger type, for the one line that says what is going on
    Edit,
    Button,
    DefaultButton,
    CheckBox,
    Combo,
    List,  // rows of cells under a heading of columns
    Text,  // several lines to read, scrolled, not edited
    Frame,
    Icon,
};

struct ControlTemplate {
    ControlKind kind;
    int id;
    const char* name;     // object name, "IDC_..." where the control has an ID
    const char* caption;  // UTF-8
    int x, y, cx, cy;
    const char* accessibleName = nullptr;  // for edits and lists: their label
    std::span<const char* const> items = {};  // a combo's initial entries, or a list's column titles, in order
    int icon = 0;                             // an icon's resource number
    std::span<const int> widths = {};         // a list's column widths, in dialog units
};

struct DialogTemplate {
    const char* title;
    int cx, cy;
    std::span<const ControlTemplate> controls;
    bool appWindow = false;  // shown at once, with a taskbar button of its own
};
