#pragma once

#include <QApplication>

namespace tarnel::dialog::qt {

// Readies Qt as the program runs it: the dialogs' font for everything Qt
// draws itself, and Qt's own texts (standard buttons, edit menus) in
// Simplified Chinese where the system has Qt's translations.
void ReadyQt(QApplication& app);

}  // namespace tarnel::dialog::qt
