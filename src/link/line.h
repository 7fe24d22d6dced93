#pragma once

#include "link/line_timing.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

namespace tarnel::link {

using LineClock = std::chrono::steady_clock;
using TimePoint = LineClock::time_point;

// Bytes taken off the line together, and when they came.
struct HeardBytes {
    TimePoint at;
    std::vector<std::uint8_t> bytes;
};

// Whether whoever waits on a line should give up: Ctrl-C in a terminal.
class StopSource {
public:
    virtual ~StopSource() = default;
    virtual bool StopRequested() const = 0;
};

// What the exchanges need of a serial line: a serial port in the programs,
// a script on a virtual clock in the tests. Every call returns at once but
// Wait, and Write while the frame leaves.
class Line : public StopSource {
public:
    // Writes the whole frame and returns once it has left the output queue.
    virtual void Write(std::span<const std::uint8_t> bytes) = 0;

    // Drops whatever has been heard and not taken yet.
    virtual void Purge() = 0;

    // The bytes heard since the last call, if any.
    virtual std::optional<HeardBytes> Take() = 0;

    // Why the device went away (a pulled adapter, a hung-up line); empty
    // while it is there.
    virtual std::error_code Lost() const = 0;

    virtual TimePoint Now() const = 0;

    // Lets about `time` pass.
    virtual void Wait(Micros time) = 0;
};

}  // namespace tarnel::link
