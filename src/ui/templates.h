#pragma once

#include "dialog/dialog_template.h"

// The program's dialogs as data.
extern const DialogTemplate kMainDialogTemplate;   // the operator window (102)
extern const DialogTemplate kAboutDialogTemplate;  // the about box (100)
extern const DialogTemplate kCommissionDialogTemplate;  // 现场调试
extern const DialogTemplate kDoctorDialogTemplate;      // 总线诊断
