#include "link/device_commands.h"

#include "link/frames.h"
#include "link/protocol.h"

#include <array>

namespace tarnel::link {
namespace {

constexpr std::uint32_t kCommandTimeoutMs = 500;

bool Exchange(PortHandle& port, std::span<const std::uint8_t> request, std::uint32_t timeoutMs)
{
    Transmit(port, request);
    return WaitForInput(port, kAnswerLength, timeoutMs) >= kAnswerLength;
}

}  // namespace

bool ProbeAddress(PortHandle& port, unsigned address, std::uint32_t timeoutMs)
{
    return Exchange(port, ProbeFrame(address), timeoutMs);
}

bool SetDeviceAddress(PortHandle& port, unsigned oldAddress, unsigned newAddress)
{
    return Exchange(port, SetAddressFrame(oldAddress, newAddress), kCommandTimeoutMs);
}

bool ZeroCalibrate(PortHandle& port, unsigned address, std::vector<std::uint8_t>* read)
{
    const bool answered = Exchange(port, ZeroCalibrationFrame(address), kCommandTimeoutMs);
    std::array<std::uint8_t, kAnswerLength> answer{};
    const std::size_t got = port.Read(answer);
    if (read) {
        read->assign(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(got));
    }
    // Address, function, byte count, then the value: it must be 0.
    return answered && got >= 5 && answer[3] == 0x00 && answer[4] == 0x00;
}

}  // namespace tarnel::link
