#pragma once

#include <QApplication>
#include <QDialog>
#include <QMenu>

class CDialog;

// The Qt backend's widgets behind a dialog, for its tests and benchmarks;
// the program itself never needs them.
namespace tarnel::dialog::qt {

QDialog* Widget(const CDialog& dialog);
QWidget* Item(const CDialog& dialog, int id);

// The dialog a widget shows, if it shows one.
CDialog* DialogOf(QWidget* widget);

// The context menu that stands in for the window menu, once it has an item.
QMenu* WindowMenu(const CDialog& dialog);

// Makes Qt's own texts (standard buttons, edit menus) Simplified Chinese,
// with Qt's translations where the system has them.
void LoadChineseQtTexts(QApplication& app);

// The Song face at 9 points that the dialogs use.
QFont DialogFont();

}  // namespace tarnel::dialog::qt
