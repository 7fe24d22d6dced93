#include "scan/address_scan.h"

#include "link/device_commands.h"

namespace tarnel::scan {

void AddressScan::Start(std::uint32_t startAddress, std::uint32_t periodMs)
{
    running_ = true;
    nextAddress_ = startAddress;
    periodMs_ = periodMs;
    view_.KeepResult(startAddress);
    view_.ShowRunning(true);
    view_.StartTicks(periodMs);
}

void AddressScan::Stop()
{
    view_.StopTicks();
    running_ = false;
    nextAddress_ = 0;
    view_.KeepResult(0);
    view_.ShowRunning(false);
}

void AddressScan::Tick(link::Line& line)
{
    if (!running_) {
        return;
    }
    const std::uint32_t probed = nextAddress_++;
    if (link::ProbeAddress(line, probed, periodMs_)) {
        // Stopped before the box opens, so nothing is probed behind it.
        view_.StopTicks();
        view_.AnnounceFound(probed);
        Stop();
        return;
    }
    if (line.Lost()) {
        Stop();
        view_.AnnounceLineLost();
        return;
    }
    view_.ShowResult(nextAddress_);
    if (probed >= link::kLastAddress) {
        view_.StopTicks();
        view_.AnnounceNothingFound();
        Stop();
    }
}

}  // namespace tarnel::scan
