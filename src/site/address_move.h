#pragma once

#include "site/bus.h"
#include "site/listening.h"
#include "site/outcomes.h"
#include "site/request.h"

#include <cstdint>
#include <optional>

namespace tarnel::site {

// While a controller takes its new address, before the probe that verifies it.
inline constexpr std::uint32_t kSettleMs = 100;

struct MovePlan {
    std::uint32_t oldAddress = 0;
    std::uint32_t newAddress = 0;
    bool verify = false;
    std::uint32_t settleMs = kSettleMs;
    std::uint32_t timeoutMs = 500;
};

// A controller given a new address over ticks: the change, which it must
// acknowledge; then, when verified, a pause listened through while it takes
// the address, and a probe that only a valid reply from there passes.
class AddressMove {
public:
    explicit AddressMove(const MovePlan& plan);

    // One step; true once the move is settled.
    bool Tick(Bus& bus);

    const Answer& Acknowledgement() const { return ack_.Result(); }
    // When verified: the probe's answer at the new address.
    const Answer* Verification() const { return verify_ ? &verify_->Result() : nullptr; }

    // The step that failed; nothing when it moved.
    std::optional<MoveStep> FailedStep() const;

private:
    enum class State { Acknowledging, Settling, Verifying, Done };

    MovePlan plan_;
    State state_ = State::Acknowledging;
    Request ack_;
    Listening settling_;
    std::optional<Request> verify_;
};

}  // namespace tarnel::site
