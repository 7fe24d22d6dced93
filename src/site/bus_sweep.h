#pragma once

#include "site/bus.h"
#include "site/diagnosis.h"
#include "site/listening.h"
#include "site/other_master.h"
#include "site/sweep_view.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace tarnel::site {

struct SweepPlan {
    std::vector<int> baudIndexes{3};  // each speed in turn
    std::uint32_t from = 0;
    std::uint32_t to = 255;
    std::uint32_t timeoutMs = 250;
    std::uint32_t listenMs = 2000;  // at each speed before the first request
    bool force = false;             // send even while another master uses the bus
};

// The doctor's look at a bus, one request or a slice of listening a tick: at
// each speed, listen, then probe every address of the range, again while it
// answers anything, then listen for late answers to the last. An address is
// named only when its own controller answered: a valid answer names its
// address wherever it comes; a garbled one counts for the address asked only
// when it comes again, and otherwise the addresses silent just before are
// asked again with a longer wait, to find the slow controller it came from.
class BusSweep {
public:
    BusSweep(const SweepPlan& plan, SweepLines& lines, SweepView& view, const BusWatcher& watcher);

    void Tick();
    bool Finished() const { return state_ == State::Finished; }

private:
    enum class State { Opening, Listening, Examining, ListeningLate, Finished };
    // A garbled answer no address has owned yet: when it came, during whose wait.
    struct Garbled {
        link::TimePoint at;
        std::uint32_t during;
        std::size_t bytes;
    };
    struct Silent {
        std::uint32_t address;
        link::TimePoint at;
    };

    void Open();
    void BeginProbing();
    void Examine();
    void Count(const HeardFrame& frame, AddressSeen& seen) const;
    void TakeOthers();
    void Conclude();
    void Advance();
    void NextSpeed();
    bool Reexamine();
    void BeginExamining(std::uint32_t address, bool again);
    AddressSeen& SeenAt(std::uint32_t address);
    SpeedSeen& Speed() { return speeds_.back(); }
    void End(SweepEnd::Reason reason);

    const SweepPlan plan_;
    SweepLines& lines_;
    SweepView& view_;
    const BusWatcher& watcher_;
    State state_ = State::Opening;
    std::size_t speedIndex_ = 0;
    std::optional<Bus> bus_;
    std::optional<OtherMasterRule> rule_;
    std::vector<SpeedSeen> speeds_;
    AddressSeen examined_;
    bool again_ = false;  // examined again, with the longer wait
    std::vector<Garbled> tentative_;
    std::vector<Garbled> unexplained_;
    std::deque<Silent> silent_;
    std::vector<std::uint32_t> candidates_;
    std::uint32_t next_ = 0;
    Listening late_;
    bool lateListened_ = false;
    unsigned done_ = 0;
};

}  // namespace tarnel::site
