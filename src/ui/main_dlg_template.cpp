#include "link/protocol.h"
#include "resource.h"
#include "templates.h"

#include <array>

namespace {

using enum ControlKind;

// The baud-rate list; only the index of the selection is ever used.
constexpr auto kBaudItems = [] {
    std::array<const char*, tarnel::link::kBaudRates.size()> labels{};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i] = tarnel::link::kBaudRates[i].label;
    }
    return labels;
}();

constexpr std::array kMainControls{
    ControlTemplate{Label, IDC_RESULT_LABEL, "IDC_RESULT_LABEL", "搜索结果：", 92, 128, 44, 12},
    ControlTemplate{Edit, IDC_START_ADDR, "IDC_START_ADDR", "", 69, 85, 33, 14, "搜索地址范围"},
    ControlTemplate{Label, IDC_STATIC, "", "搜索地址范围", 13, 89, 49, 8},
    ControlTemplate{Button, IDC_SEARCH, "IDC_SEARCH", "搜索", 19, 122, 48, 18},
    ControlTemplate{Edit, IDC_PORT, "IDC_PORT", "", 55, 28, 26, 14, "串口号"},
    ControlTemplate{Label, IDC_STATIC, "", "串口号", 24, 30, 29, 14},
    ControlTemplate{Edit, IDC_INTERVAL, "IDC_INTERVAL", "", 203, 85, 40, 14, "周期间隔"},
    ControlTemplate{Label, IDC_STATIC, "", "周期间隔", 164, 87, 33, 8},
    ControlTemplate{Label, IDC_STATIC, "", "ms", 245, 87, 9, 8},
    ControlTemplate{Label, IDC_STATIC, "", "波特率", 88, 30, 29, 14},
    ControlTemplate{Combo, IDC_BAUD, "IDC_BAUD", "", 117, 26, 65, 57, "波特率", kBaudItems},
    ControlTemplate{Frame, IDC_STATIC, "", "", 5, 10, 280, 43},
    ControlTemplate{Frame, IDC_STATIC, "", "", 4, 79, 281, 69},
    ControlTemplate{Label, IDC_STATIC, "", "原地址", 10, 183, 25, 8},
    ControlTemplate{Edit, IDC_OLD_ADDR, "IDC_OLD_ADDR", "", 40, 180, 40, 14, "原地址"},
    ControlTemplate{Label, IDC_STATIC, "", "新地址", 93, 183, 25, 8},
    ControlTemplate{Edit, IDC_NEW_ADDR, "IDC_NEW_ADDR", "", 127, 180, 40, 14, "新地址"},
    ControlTemplate{Button, IDC_SET_ADDR, "IDC_SET_ADDR", "设置地址", 183, 177, 50, 14},
    ControlTemplate{Button, IDC_OPEN_PORT, "IDC_OPEN_PORT", "打开串口", 205, 26, 39, 14},
    ControlTemplate{Label, IDC_STATIC, "", "~~", 109, 91, 13, 8},
    ControlTemplate{Edit, IDC_RESULT, "IDC_RESULT", "", 147, 124, 31, 14, "搜索结果："},
    ControlTemplate{Label, IDC_STATIC, "", "255", 127, 87, 13, 8},
    ControlTemplate{Label, IDC_STATIC, "",
                    "如果水浸绳报警的初始位置不准，请将0~0.3米位置泡入水中，点设置水浸绳校零！（A通道）", 6, 206, 170,
                    18},
    ControlTemplate{Button, IDC_ZERO_CAL, "IDC_ZERO_CAL", "设置水浸绳校零", 183, 207, 59, 14},
};

}  // namespace

const DialogTemplate kMainDialogTemplate{"Tarnel", 312, 233, kMainControls, true};
