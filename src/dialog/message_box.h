#pragma once

#include <string>

class CDialog;

// OK-only message boxes titled with the application's name. Each is modal
// and runs its own event loop, in which the window's timer goes on ticking.

// The application's box; the optional informative line explains the message.
void AfxMessageBox(const std::string& text, const std::string& informative = {});

// A box owned by `window`.
void WindowMessageBox(CDialog& window, const std::string& text);
