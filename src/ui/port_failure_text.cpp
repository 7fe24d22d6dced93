#include "port_failure_text.h"

#include "platform/port_list.h"

#include <system_error>

QString DescribeOpenFailure(unsigned portNumber, const tarnel::platform::OpenFailure& failure)
{
    if (failure.device.empty()) {
        return QStringLiteral("串口号 %1 没有对应的串口设备（现有 %2 个串口）。")
            .arg(portNumber)
            .arg(tarnel::platform::ListPorts().size());
    }
    const QString device = QString::fromStdString(failure.device);
    switch (tarnel::platform::ProblemOf(failure.error)) {
    case tarnel::platform::OpenProblem::NoSuchDevice: return QStringLiteral("%1：设备不存在。").arg(device);
    case tarnel::platform::OpenProblem::InUse: return QStringLiteral("%1：串口正被其他程序占用。").arg(device);
    case tarnel::platform::OpenProblem::NoPermission:
        // Only where serial devices belong to the dialout group.
        return QStringLiteral("%1：没有权限。请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），重新登录后再试。")
            .arg(device);
    case tarnel::platform::OpenProblem::Other: break;
    }
    return QStringLiteral("%1：%2").arg(device, QString::fromLocal8Bit(failure.error.message()));
}

QString DescribeLostDevice(const tarnel::platform::SerialLine& line)
{
    return QStringLiteral("%1：设备已断开。").arg(QString::fromStdString(line.Device()));
}
