#include "site/address_move.h"

#include "link/frames.h"
#include "site/answers.h"

namespace tarnel::site {

AddressMove::AddressMove(const MovePlan& plan)
    : plan_(plan), ack_(link::SetAddressFrame(plan.oldAddress, plan.newAddress), plan.timeoutMs)
{
}

bool AddressMove::Tick(Bus& bus)
{
    switch (state_) {
    case State::Acknowledging:
        if (ack_.Tick(bus)) {
            state_ = Valid(ack_.Result()) && plan_.verify ? State::Settling : State::Done;
            settling_.Start(bus, plan_.settleMs);
        }
        break;
    case State::Settling:
        if (settling_.Tick(bus)) {
            bus.TakeOthers();
            verify_.emplace(link::ProbeFrame(plan_.newAddress), plan_.timeoutMs);
            state_ = State::Verifying;
        }
        break;
    case State::Verifying:
        if (verify_->Tick(bus)) {
            state_ = State::Done;
        }
        break;
    case State::Done: break;
    }
    return state_ == State::Done;
}

std::optional<MoveStep> AddressMove::FailedStep() const
{
    if (!Valid(ack_.Result())) {
        return MoveStep::SetAddress;
    }
    if (verify_ && !Valid(verify_->Result())) {
        return MoveStep::Verify;
    }
    return std::nullopt;
}

}  // namespace tarnel::site
