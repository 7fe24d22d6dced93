#pragma once

#include <QDialog>
#include <QMenu>

class CDialog;

// The Qt backend's widgets behind a dialog, for its tests and benchmarks;
// the program itself never needs them.
namespace tarnel::dialog::qt {

QDialog* Widget(const CDialog& dialog);
// Within a run: the control with ID `id`.
QWidget* Item(const CDialog& dialog, int id);

// The dialog a widget shows, if it shows one.
CDialog* DialogOf(QWidget* widget);

// The context menu that stands in for the window menu, once the run has
// given it an item.
QMenu* WindowMenu(const CDialog& dialog);

}  // namespace tarnel::dialog::qt
