// The site dialogs as data, in dialog units.

#include "link/protocol.h"
#include "resource.h"
#include "templates.h"

#include <array>

namespace {

using enum ControlKind;

constexpr std::array<const char*, 5> kRowColumns{"地址", "结果", "校零", "时间", "应答时间"};
constexpr std::array kRowWidths{24, 96, 84, 98, 40};

constexpr std::array kCommissionControls{
    ControlTemplate{Label, IDC_STATIC, "", "出厂地址", 8, 12, 34, 8},
    ControlTemplate{Edit, IDC_FACTORY, "IDC_FACTORY", "", 44, 10, 28, 14, "出厂地址"},
    ControlTemplate{Label, IDC_STATIC, "", "起始地址", 82, 12, 34, 8},
    ControlTemplate{Edit, IDC_FIRST, "IDC_FIRST", "", 118, 10, 28, 14, "起始地址"},
    ControlTemplate{Label, IDC_STATIC, "", "结束地址", 156, 12, 34, 8},
    ControlTemplate{Edit, IDC_LAST, "IDC_LAST", "", 192, 10, 28, 14, "结束地址"},
    ControlTemplate{CheckBox, IDC_CALIBRATE, "IDC_CALIBRATE", "校零", 234, 11, 44, 12},
    ControlTemplate{Label, IDC_STATIC, "", "记录文件", 8, 32, 34, 8},
    ControlTemplate{Edit, IDC_RECORD, "IDC_RECORD", "", 44, 30, 254, 14, "记录文件"},
    ControlTemplate{Button, IDC_BROWSE, "IDC_BROWSE", "选择…", 302, 30, 52, 14},
    ControlTemplate{Button, IDC_START, "IDC_START", "开始", 8, 50, 52, 14},
    ControlTemplate{Button, IDC_STOP, "IDC_STOP", "停止", 64, 50, 52, 14},
    ControlTemplate{Button, IDC_REPORT, "IDC_REPORT", "生成报告", 302, 50, 52, 14},
    ControlTemplate{Heading, IDC_STEP, "IDC_STEP", "", 8, 70, 346, 30},
    ControlTemplate{Button, IDC_ROPE_IN_WATER, "IDC_ROPE_IN_WATER", "水浸绳已入水", 8, 104, 70, 14},
    ControlTemplate{Button, IDC_SKIP, "IDC_SKIP", "跳过", 82, 104, 52, 14},
    ControlTemplate{List, IDC_ROWS, "IDC_ROWS", "", 8, 124, 346, 106, "记录", kRowColumns, 0, kRowWidths},
    ControlTemplate{Button, IDCANCEL, "IDCANCEL", "关闭", 302, 236, 52, 14},
};

// The operator window's speeds, then all of them in turn.
constexpr auto kSpeedItems = [] {
    std::array<const char*, tarnel::link::kBaudRates.size() + 1> labels{};
    for (std::size_t i = 0; i < tarnel::link::kBaudRates.size(); ++i) {
        labels[i] = tarnel::link::kBaudRates[i].label;
    }
    labels.back() = "全部";
    return labels;
}();

constexpr std::array<const char*, 3> kFoundColumns{"地址", "波特率", "应答时间（毫秒，最短/中位/最长）"};
constexpr std::array kFoundWidths{40, 60, 160};

constexpr std::array kDoctorControls{
    ControlTemplate{Label, IDC_STATIC, "", "波特率", 8, 12, 26, 8},
    ControlTemplate{Combo, IDC_SPEED, "IDC_SPEED", "", 36, 10, 62, 90, "波特率", kSpeedItems},
    ControlTemplate{Label, IDC_STATIC, "", "起始地址", 106, 12, 34, 8},
    ControlTemplate{Edit, IDC_FROM, "IDC_FROM", "", 142, 10, 28, 14, "起始地址"},
    ControlTemplate{Label, IDC_STATIC, "", "结束地址", 178, 12, 34, 8},
    ControlTemplate{Edit, IDC_TO, "IDC_TO", "", 214, 10, 28, 14, "结束地址"},
    ControlTemplate{Button, IDC_START, "IDC_START", "开始", 252, 10, 44, 14},
    ControlTemplate{Button, IDC_STOP, "IDC_STOP", "停止", 300, 10, 44, 14},
    ControlTemplate{Heading, IDC_STEP, "IDC_STEP", "", 8, 32, 336, 22},
    ControlTemplate{List, IDC_FOUND, "IDC_FOUND", "", 8, 58, 336, 70, "控制器", kFoundColumns, 0, kFoundWidths},
    ControlTemplate{Text, IDC_FINDINGS, "IDC_FINDINGS", "", 8, 134, 336, 96, "诊断结果"},
    ControlTemplate{Button, IDCANCEL, "IDCANCEL", "关闭", 292, 236, 52, 14},
};

}  // namespace

const DialogTemplate kCommissionDialogTemplate{"现场调试", 362, 256, kCommissionControls};
const DialogTemplate kDoctorDialogTemplate{"总线诊断", 352, 256, kDoctorControls};
