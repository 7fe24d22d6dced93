#include "port_failure_text.h"

#include "platform/error_text.h"
#include "platform/port_list.h"

std::string DescribeOpenFailure(unsigned portNumber, const tarnel::platform::OpenFailure& failure)
{
    if (failure.device.empty()) {
        return "串口号 " + std::to_string(portNumber) + " 没有对应的串口设备（现有 " +
               std::to_string(tarnel::platform::ListPorts().size()) + " 个串口）。";
    }
    const std::string& device = failure.device;
    switch (tarnel::platform::ProblemOf(failure.error)) {
    case tarnel::platform::OpenProblem::NoSuchDevice: return device + "：设备不存在。";
    case tarnel::platform::OpenProblem::InUse: return device + "：串口正被其他程序占用。";
    case tarnel::platform::OpenProblem::NoPermission:
        // Only where serial devices belong to the dialout group.
        return device + "：没有权限。请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），重新登录后再试。";
    case tarnel::platform::OpenProblem::Other: break;
    }
    return device + "：" + tarnel::platform::ErrorText(failure.error);
}

std::string DescribeLostDevice(const tarnel::platform::SerialLine& line)
{
    return line.Device() + "：设备已断开。";
}
