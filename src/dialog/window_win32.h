#pragma once

#include "dialog/dialog.h"

#include <windows.h>

namespace tarnel::dialog::win32 {

// The dialog's window while it runs; none between runs.
HWND HandleOf(const CDialog& dialog);

}  // namespace tarnel::dialog::win32
