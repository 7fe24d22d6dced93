#include "resource.h"
#include "templates.h"

#include <array>

namespace {

using enum ControlKind;

constexpr std::array kAboutControls{
    ControlTemplate{Icon, IDC_STATIC, "", "", 11, 17, 20, 20, nullptr, {}, IDR_MAINFRAME},
    ControlTemplate{Label, IDC_STATIC, "", "Tarnel " TARNEL_VERSION_SHORT " 版", 40, 10, 119, 8},
    ControlTemplate{DefaultButton, IDOK, "IDOK", "确定", 178, 7, 50, 14},
};

}  // namespace

const DialogTemplate kAboutDialogTemplate{"关于 Tarnel", 235, 55, kAboutControls};
