#include "link/serial_port.h"

#include "link/protocol.h"
#include "platform/last_error.h"

namespace tarnel::link {
namespace {

constexpr platform::Timeouts kTimeouts{
    .readInterval = 1000,
    .readTotalMultiplier = 50,
    .readTotalConstant = 50,
    .writeTotalMultiplier = 100,
    .writeTotalConstant = 500,
};

// Gives a freshly opened port the controller's line settings and time-outs.
platform::SerialLine Configured(platform::SerialLine port, int baudIndex, platform::OpenFailure* failure)
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

bool SetSpeed(platform::SerialLine& port, int baudIndex)
{
    platform::LineSettings settings;
    return port.ReadSettings(settings) && port.WriteSettings(ControllerLineSettings(settings, baudIndex));
}

platform::SerialLine OpenPort(unsigned portNumber, int baudIndex, platform::OpenFailure* failure)
{
    return Configured(platform::SerialLine::Open(portNumber, failure), baudIndex, failure);
}

platform::SerialLine OpenPort(const std::string& device, int baudIndex, platform::OpenFailure* failure)
{
    return Configured(platform::SerialLine::OpenDevice(device, failure), baudIndex, failure);
}

}  // namespace tarnel::link
