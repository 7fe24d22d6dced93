#pragma once

#include "link/line.h"
#include "link/protocol.h"
#include "scan/scan_view.h"

#include <cstdint>

namespace tarnel::scan {

// The walk over the bus addresses from a start address up to 255, one probe
// a tick, that stops at the first controller that answers.
class AddressScan {
public:
    explicit AddressScan(ScanView& view) : view_(view) {}

    bool Running() const { return running_; }

    // Starts from `startAddress`; each tick, every `periodMs`, probes one
    // address and waits that long for its answer. The start address is kept
    // as the progress value but not shown.
    void Start(std::uint32_t startAddress, std::uint32_t periodMs);

    // Back to idle without a word; the progress value drops to 0 unshown.
    void Stop();

    // One tick: probes the next address on `line`. An answer ends the scan
    // with its address; silence moves the shown progress on, and after 255
    // ends the scan with nothing found; a port whose device went away ends
    // it too, so that no dead line is probed on.
    void Tick(link::Line& line);

private:
    ScanView& view_;
    bool running_ = false;
    std::uint32_t nextAddress_ = 0;
    // Kept from the start: the form's period may change while the scan runs.
    std::uint32_t periodMs_ = 0;
};

}  // namespace tarnel::scan
