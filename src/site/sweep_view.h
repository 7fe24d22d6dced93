#pragma once

#include "link/line.h"
#include "site/diagnosis.h"

#include <cstdint>
#include <optional>
#include <system_error>
#include <vector>

namespace tarnel::site {

struct SweepEnd {
    enum class Reason { Complete, Stopped, AdapterLost, CannotOpen, OtherMaster };
    Reason reason;
    std::vector<SpeedSeen> speeds;
    std::optional<Diagnosis> diagnosis;  // when complete, or stopped by another master
    std::error_code error;               // why the adapter went away
};

// What the doctor's sweep tells the front end that shows it.
class SweepView {
public:
    virtual ~SweepView() = default;

    virtual void Listening(std::uint32_t baud, std::uint32_t ms) = 0;
    virtual void Probing(std::uint32_t baud, std::uint32_t from, std::uint32_t to) = 0;
    // `done` of `total` addresses, all speeds together, are examined.
    virtual void Probed(std::uint32_t baud, std::uint32_t address, unsigned done, unsigned total) = 0;
    virtual void Ended(const SweepEnd& end) = 0;
};

// The line at each speed in turn.
class SweepLines {
public:
    virtual ~SweepLines() = default;

    // The line at the list's `baudIndex`th speed, in place of the last one;
    // none when it cannot be had (the front end says why).
    virtual link::Line* AtSpeed(int baudIndex) = 0;
};

}  // namespace tarnel::site
