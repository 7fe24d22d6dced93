#pragma once

#include "site/address_move.h"
#include "site/bus.h"
#include "site/commissioning_view.h"
#include "site/other_master.h"
#include "site/record.h"
#include "site/record_time.h"
#include "site/request.h"

#include <cstdint>
#include <optional>
#include <set>

namespace tarnel::site {

struct CommissionPlan {
    std::uint32_t factory = 1;
    std::uint32_t first = 1;
    std::uint32_t last = 255;
    unsigned count = 0;  // controllers to do; 0: until stopped
    bool calibrate = false;
    std::uint32_t baud = 9600;  // the bus's, recorded with each row
    std::uint32_t timeoutMs = 500;
    std::uint32_t listenMs = 500;  // before the first request, for another master
    bool force = false;            // send even while another master uses the bus
};

// A site visit: new controllers, all at the factory address, connected one
// after another, each given the next free address, verified, optionally
// zero-calibrated once the person says its rope lies in water, and written
// to the record before the next is asked for. One tick does at most one
// request or a slice of listening; waiting for a person spans ticks. The
// bus's line carries the stop source.
class Commissioning {
public:
    Commissioning(Bus& bus, const CommissionPlan& plan, Record& record, const WallClock& clock,
                  CommissioningView& view);

    void Tick();
    bool Finished() const { return state_ == State::Finished; }

    // The person's answers while the rope is awaited.
    bool AwaitingRope() const { return state_ == State::AwaitingRope; }
    void RopeInWater();
    void SkipCalibration();

private:
    enum class State {
        Choosing,
        AwaitingController,
        Moving,
        CheckingFactory,
        AwaitingRope,
        Calibrating,
        AwaitingDisconnection,
        Finished,
    };

    void Choose();
    void AwaitController();
    void Move();
    void CheckFactory();
    void Calibrate();
    void AwaitDisconnection();

    void BeginAwaitingController();
    void Write();
    Outcome Interruption() const;
    // Asked to stop or the adapter went away: ends the run. Another master is
    // the rule's to end.
    bool Halted();
    void End(CommissionEnd::Reason reason, std::error_code error = {});

    Bus& bus_;
    const CommissionPlan plan_;
    Record& record_;
    const WallClock& clock_;
    CommissioningView& view_;
    OtherMasterRule rule_;
    State state_ = State::Choosing;
    std::set<std::uint32_t> recorded_;
    std::uint32_t next_;
    std::uint32_t candidate_ = 0;
    std::optional<Request> request_;
    std::optional<AddressMove> move_;
    Listening pause_;
    bool pausing_ = false;
    link::TimePoint polledAt_;
    int inARow_ = 0;  // garbled answers at the factory address, or silent probes
    std::optional<std::uint32_t> inProgress_;
    RecordRow row_;
    Tally tally_;
};

}  // namespace tarnel::site
