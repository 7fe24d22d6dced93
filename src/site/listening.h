#pragma once

#include "site/bus.h"

#include <cstdint>

namespace tarnel::site {

// How much of a wait one tick takes: short enough that a stop, a click or a
// person's answer is seen at once.
inline constexpr std::uint32_t kSliceMs = 10;

// Listening for a while, a slice a tick, so that a wait never holds up the
// front end that drives it.
class Listening {
public:
    // From now on, for `ms`.
    void Start(const Bus& bus, std::uint32_t ms);

    // Listens one slice; true once the time is over, or the wait was interrupted.
    bool Tick(Bus& bus);

private:
    link::TimePoint end_;
};

// The same, all at once, for a front end that has nothing else to do.
void ListenFor(Bus& bus, std::uint32_t ms);

// Waits a slice for the silence a request needs; true when one may be
// asked now (or the bus stopped, so that asking ends at once).
bool ReadyToAsk(Bus& bus);

}  // namespace tarnel::site
