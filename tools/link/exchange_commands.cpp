#include "exchange_commands.h"

#include "exit_codes.h"
#include "link/device_commands.h"
#include "link/frames.h"

#include <cstdio>

namespace tarnel::tool {

int RunSetAddress(const PortChoice& choice, int baudIndex, std::uint32_t oldAddress, std::uint32_t newAddress,
                  bool verify, std::uint32_t timeoutMs, const Trace& trace)
{
    link::PortHandle port = choice.Open(baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    trace.Sent(link::SetAddressFrame(oldAddress, newAddress));
    const bool answered = link::SetDeviceAddress(port, oldAddress, newAddress);
    trace.Received(link::ReadQueued(port));
    std::printf("set-address %u -> %u: %s\n", oldAddress, newAddress, answered ? "answered" : "no answer");
    if (!answered || !verify) {
        return answered ? kSuccess : kNotDone;
    }
    trace.Sent(link::ProbeFrame(newAddress));
    const bool moved = link::ProbeAddress(port, newAddress, timeoutMs);
    trace.Received(link::ReadQueued(port));
    std::printf("verify: %s\n", moved ? "a controller answers at the new address"
                                      : "nothing answers at the new address: not moved");
    return moved ? kSuccess : kNotDone;
}

int RunCalibrate(const PortChoice& choice, int baudIndex, std::uint32_t address, const Trace& trace)
{
    link::PortHandle port = choice.Open(baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    trace.Sent(link::ZeroCalibrationFrame(address));
    std::vector<std::uint8_t> answer;
    const bool confirmed = link::ZeroCalibrate(port, address, &answer);
    trace.Received(answer);
    std::printf("calibrate %u: %s\n", address, confirmed ? "confirmed" : "failed");
    return confirmed ? kSuccess : kNotDone;
}

}  // namespace tarnel::tool
