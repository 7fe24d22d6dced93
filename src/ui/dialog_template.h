#pragma once

#include <span>

// A dialog described as data: its size and its controls in template order
// (which is also the tab order), positions and sizes in dialog units.

enum class ControlKind { Label, Edit, Button, DefaultButton, Combo, Frame, Icon };

struct ControlTemplate {
    ControlKind kind;
    int id;
    const char* name;     // object name, "IDC_..." where the control has an ID
    const char* caption;  // UTF-8
    int x, y, cx, cy;
    const char* accessibleName = nullptr;  // for edits and lists: their label
    std::span<const char* const> items = {};  // a list's initial entries, in order
};

struct DialogTemplate {
    int id;
    const char* title;
    int cx, cy;
    std::span<const ControlTemplate> controls;
};

extern const DialogTemplate kMainDialogTemplate;   // IDD_MAIN
extern const DialogTemplate kAboutDialogTemplate;  // IDD_ABOUTBOX
