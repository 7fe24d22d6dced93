#pragma once

#include "site/bus.h"
#include "site/listening.h"

#include <cstdint>
#include <functional>

namespace tarnel::site {

// How long another master is listened to once heard, to tell its pace.
inline constexpr std::uint32_t kCharacteriseMs = 1000;

// The rule against talking over another master, a slice a tick: before the
// first request, listen for `listenMs`; once a request not sent here has
// been heard, nothing more is sent, and the other master is listened to a
// while longer to tell its pace before the bus is given up. With `force`,
// others are allowed and the work goes on.
class OtherMasterRule {
public:
    OtherMasterRule(std::uint32_t listenMs, bool force) : listenMs_(listenMs), force_(force) {}

    // Listens one slice while the rule holds the bus; false when the work
    // may go on this tick, or the bus was given up.
    bool Holds(Bus& bus);

    bool GaveUp() const { return phase_ == Phase::GaveUp; }

private:
    enum class Phase { NotStarted, ListeningFirst, Working, Characterising, GaveUp };

    std::uint32_t listenMs_;
    bool force_;
    Phase phase_ = Phase::NotStarted;
    Listening listening_;
};

// How a job on a bus that another master may use went.
enum class Sharing { Alone, GaveUp, Forced };

// Runs `send` under the rule, all at once; what was heard of another master
// is the bus's.
Sharing SharingTheBus(Bus& bus, std::uint32_t listenMs, bool force, const std::function<void()>& send);

}  // namespace tarnel::site
