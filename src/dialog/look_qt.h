#pragma once

#include <QFont>

namespace tarnel::dialog::qt {

// The Song face at 9 points that the dialogs use.
QFont DialogFont();

}  // namespace tarnel::dialog::qt
