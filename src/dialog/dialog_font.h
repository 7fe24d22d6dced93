#pragma once

#include <QFont>

// The dialogs' font: "宋体" 9 pt, or the closest Song/Ming face installed.
QFont DialogFont();
