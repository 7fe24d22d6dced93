#include "link/serial_port.h"

#include "link/protocol.h"
#include "platform/clock.h"

#include <array>
#include <chrono>

namespace tarnel::link {
namespace {

constexpr platform::Timeouts kTimeouts{
    .readInterval = 1000,
    .readTotalMultiplier = 50,
    .readTotalConstant = 50,
    .writeTotalMultiplier = 100,
    .writeTotalConstant = 500,
};

constexpr std::uint32_t kPollPauseMs = 2;

// Gives a freshly opened port the controller's line settings and time-outs.
PortHandle Configured(PortHandle port, int baudIndex, platform::OpenFailure* failure)
{
    if (!port.IsOpen()) {
        return port;
    }
    platform::LineSettings reported;
    if (!port.ReadSettings(reported)) {
        reported = {};
    }
    const platform::LineSettings settings = ControllerLineSettings(reported, baudIndex);
    if (!port.WriteSettings(settings)) {
        if (failure) {
            failure->error = platform::LastError();
        }
        port.Close();
        return port;
    }
    std::uint32_t queued = 0;
    port.ClearErrors(queued);
    port.SetTimeouts(kTimeouts);
    port.Purge();
    return port;
}

}  // namespace

platform::LineSettings ControllerLineSettings(const platform::LineSettings& reported, int baudIndex)
{
    platform::LineSettings settings = reported;
    if (baudIndex >= 0 && static_cast<std::size_t>(baudIndex) < kBaudRates.size()) {
        settings.baudRate = kBaudRates[static_cast<std::size_t>(baudIndex)].rate;
    }
    settings.dataBits = 8;
    settings.parity = false;
    settings.twoStopBits = false;
    settings.parityCheck = false;
    settings.abortOnError = true;
    return settings;
}

PortHandle OpenPort(unsigned portNumber, int baudIndex, platform::OpenFailure* failure)
{
    return Configured(PortHandle::Open(portNumber, failure), baudIndex, failure);
}

PortHandle OpenPort(const std::string& device, int baudIndex, platform::OpenFailure* failure)
{
    return Configured(PortHandle::OpenDevice(device, failure), baudIndex, failure);
}

std::vector<std::uint8_t> ReadQueued(PortHandle& port)
{
    std::uint32_t queued = 0;
    port.ClearErrors(queued);
    std::vector<std::uint8_t> bytes(queued);
    bytes.resize(port.Read(bytes));
    return bytes;
}

void ClosePort(PortHandle& port)
{
    port.Close();
}

std::uint32_t WaitForInput(PortHandle& port, std::uint32_t count, std::uint32_t timeoutMs)
{
    const std::uint16_t wanted = static_cast<std::uint16_t>(count);
    // Read finer than a millisecond tick, the wait ends once its time has
    // passed rather than up to a millisecond later: each probe of a scan
    // waits it out in full.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::uint32_t queued = 0;
    for (;;) {
        port.ClearErrors(queued);
        platform::Pause(kPollPauseMs);
        if (queued >= wanted || std::chrono::steady_clock::now() > deadline) {
            return queued;
        }
    }
}

void Transmit(PortHandle& port, std::span<const std::uint8_t> frame)
{
    port.Purge();
    port.Write(frame);
}

}  // namespace tarnel::link
