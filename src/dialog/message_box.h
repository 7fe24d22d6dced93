#pragma once

#include <QString>

class QWidget;

// OK-only message boxes titled "Tarnel". Each is modal and runs its own event
// loop, in which the window's timer goes on ticking. Tests find an open box
// as the active modal widget named "TarnelMessageBox".

// The application's box, owned by whichever window is active; the optional
// informative line explains the message.
void AfxMessageBox(const QString& text, const QString& informative = {});

// A box owned by `window`.
void WindowMessageBox(QWidget* window, const QString& text);
