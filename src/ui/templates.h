#pragma once

#include "dialog/dialog_template.h"

// The program's dialogs as data.
extern const DialogTemplate kMainDialogTemplate;   // the operator window (102)
extern const DialogTemplate kAboutDialogTemplate;  // the about box (100)
