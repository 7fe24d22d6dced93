#include "site/other_master.h"

namespace tarnel::site {

bool OtherMasterRule::Holds(Bus& bus)
{
    switch (phase_) {
    case Phase::NotStarted:
        if (force_) {
            bus.AllowOtherMasters();
        }
        listening_.Start(bus, listenMs_);
        phase_ = Phase::ListeningFirst;
        [[fallthrough]];
    case Phase::ListeningFirst:
        if (listening_.Tick(bus)) {
            phase_ = Phase::Working;
        }
        return true;
    case Phase::Working:
        if (!bus.YieldsToOtherMaster()) {
            return false;
        }
        listening_.Start(bus, kCharacteriseMs);
        phase_ = Phase::Characterising;
        [[fallthrough]];
    case Phase::Characterising:
        if (listening_.Tick(bus)) {
            phase_ = Phase::GaveUp;
        }
        return true;
    case Phase::GaveUp: break;
    }
    return false;
}

Sharing SharingTheBus(Bus& bus, std::uint32_t listenMs, bool force, const std::function<void()>& send)
{
    OtherMasterRule rule(listenMs, force);
    while (rule.Holds(bus)) {
    }
    bus.TakeOthers();
    if (!rule.GaveUp()) {
        send();
        while (rule.Holds(bus)) {
        }
        bus.TakeOthers();
    }
    if (!bus.OtherMasterHeard()) {
        return Sharing::Alone;
    }
    return rule.GaveUp() ? Sharing::GaveUp : Sharing::Forced;
}

}  // namespace tarnel::site
