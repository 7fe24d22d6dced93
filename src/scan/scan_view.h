#pragma once

#include <cstdint>

namespace tarnel::scan {

// What the address scan asks of the window that shows it.
class ScanView {
public:
    virtual ~ScanView() = default;

    // The scan's ticks: the first one period after the start.
    virtual void StartTicks(std::uint32_t periodMs) = 0;
    virtual void StopTicks() = 0;

    // The search button's state: running or idle.
    virtual void ShowRunning(bool running) = 0;

    // The progress value: kept only, or kept and written to the form.
    virtual void KeepResult(std::uint32_t value) = 0;
    virtual void ShowResult(std::uint32_t value) = 0;

    // The scan's ends, each told in a box; the scan is already stopped.
    virtual void AnnounceFound(std::uint32_t address) = 0;
    virtual void AnnounceNothingFound() = 0;
    virtual void AnnounceLineLost() = 0;
};

}  // namespace tarnel::scan
