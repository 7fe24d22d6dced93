#include "site/bus_sweep.h"

#include "link/frames.h"
#include "link/protocol.h"
#include "site/request.h"

#include <algorithm>

namespace tarnel::site {
namespace {

// An address that answers anything is asked this often in all.
constexpr unsigned kAsks = 5;
// The silent addresses remembered, and asked again at most, to own a garbled answer.
constexpr std::size_t kRememberedSilent = 16;
constexpr std::size_t kCandidates = 4;
// No address: what is examined once an address is concluded.
constexpr std::uint32_t kNobody = link::kLastAddress + 1;

void Merge(AddressSeen& into, const AddressSeen& from)
{
    into.asked += from.asked;
    into.valid += from.valid;
    into.late += from.late;
    into.corrupt += from.corrupt;
    into.shortAnswers += from.shortAnswers;
    into.collided += from.collided;
    into.responseMs.insert(into.responseMs.end(), from.responseMs.begin(), from.responseMs.end());
    into.latestMs = std::max(into.latestMs, from.latestMs);
}

}  // namespace

BusSweep::BusSweep(const SweepPlan& plan, SweepLines& lines, SweepView& view, const BusWatcher& watcher)
    : plan_(plan), lines_(lines), view_(view), watcher_(watcher)
{
}

void BusSweep::Tick()
{
    if (state_ == State::Finished) {
        return;
    }
    if (state_ == State::Opening) {
        Open();
        return;
    }
    if (rule_->Holds(*bus_)) {
        return;
    }
    if (state_ == State::Listening) {
        // Everything but noise heard while listening counts as a frame.
        for (const HeardFrame& frame : bus_->TakeOthers()) {
            const bool noise = frame.kind == Heard::Corrupt || frame.kind == Heard::Short;
            (noise ? Speed().noiseBytes : Speed().framesHeard) += noise ? frame.bytes.size() : 1;
        }
    }
    if (rule_->GaveUp()) {
        End(SweepEnd::Reason::OtherMaster);
    } else if (bus_->Interrupted()) {
        End(bus_->Line().Lost() ? SweepEnd::Reason::AdapterLost : SweepEnd::Reason::Stopped);
    } else if (state_ == State::Listening) {
        BeginProbing();
    } else if (state_ == State::Examining) {
        Examine();
    } else if (late_.Tick(*bus_)) {
        TakeOthers();
        Advance();
    }
}

void BusSweep::Open()
{
    const int baudIndex = plan_.baudIndexes[speedIndex_];
    link::Line* line = lines_.AtSpeed(baudIndex);
    if (!line) {
        End(SweepEnd::Reason::CannotOpen);
        return;
    }
    speeds_.push_back({.baud = link::RateAt(baudIndex)});
    bus_.emplace(*line, Speed().baud, watcher_);
    rule_.emplace(plan_.listenMs, plan_.force);
    silent_.clear();
    lateListened_ = false;
    state_ = State::Listening;
    view_.Listening(Speed().baud, plan_.listenMs);
}

void BusSweep::BeginProbing()
{
    view_.Probing(Speed().baud, plan_.from, plan_.to);
    next_ = plan_.from + 1;
    BeginExamining(plan_.from, false);
}

void BusSweep::BeginExamining(std::uint32_t address, bool again)
{
    state_ = State::Examining;
    examined_ = AddressSeen{.address = address};
    again_ = again;
}

// One ask of the address examined.
void BusSweep::Examine()
{
    if (!ReadyToAsk(*bus_)) {
        return;
    }
    const std::uint32_t waitMs = again_ ? LateWindowMs(plan_.timeoutMs) : plan_.timeoutMs;
    const Answer answer = bus_->Ask(link::ProbeFrame(examined_.address), waitMs);
    ++examined_.asked;
    Speed().echoes += answer.echoed ? 1 : 0;
    if (answer.frame) {
        Count(*answer.frame, examined_);
        if (answer.frame->kind != Heard::Reply && !again_) {
            tentative_.push_back({bus_->Line().Now(), examined_.address, answer.frame->bytes.size()});
        }
    }
    TakeOthers();
    if (examined_.Answers() > 0 && examined_.asked < kAsks && !bus_->Stopped()) {
        return;
    }
    Conclude();
    Advance();
}

void BusSweep::Count(const HeardFrame& frame, AddressSeen& seen) const
{
    const bool late = frame.kind == Heard::Late || frame.afterMs > plan_.timeoutMs;
    if (late) {
        seen.latestMs = std::max(seen.latestMs, frame.afterMs);
    }
    switch (frame.kind) {
    case Heard::Reply:
    case Heard::Late:
        if (late) {
            ++seen.late;
        } else {
            ++seen.valid;
            seen.responseMs.push_back(frame.afterMs);
        }
        break;
    case Heard::Corrupt:
    case Heard::Short:
        (frame.kind == Heard::Corrupt ? seen.corrupt : seen.shortAnswers) += 1;
        seen.collided += frame.bytes.front() != seen.address ? 1 : 0;
        break;
    default: break;
    }
}

// What came outside the wait for an answer: late answers count for the
// address they answer; a garbled frame for the address examined when it has
// answered already, or for nobody yet.
void BusSweep::TakeOthers()
{
    for (const HeardFrame& frame : bus_->TakeOthers()) {
        if (frame.kind == Heard::Late) {
            AddressSeen& seen = SeenAt(frame.address);
            // A late answer first seen at a later address: it was asked once.
            seen.asked += seen.asked == 0 ? 1 : 0;
            Count(frame, seen);
        } else if (frame.kind == Heard::Corrupt || frame.kind == Heard::Short) {
            if (frame.address == examined_.address && examined_.Answers() > 0) {
                Count(frame, examined_);
            } else {
                unexplained_.push_back({bus_->Line().Now(), kNobody, frame.bytes.size()});
            }
        }
    }
}

AddressSeen& BusSweep::SeenAt(std::uint32_t address)
{
    if (address == examined_.address) {
        return examined_;
    }
    auto& addresses = Speed().addresses;
    const auto seen = std::ranges::find(addresses, address, &AddressSeen::address);
    return seen != addresses.end() ? *seen : addresses.emplace_back(AddressSeen{.address = address});
}

void BusSweep::Conclude()
{
    // A single garbled answer that never came again was not this address's.
    const bool owned = examined_.valid + examined_.late > 0 || examined_.Garbled() >= 2 || again_;
    if (examined_.Answers() > 0 && owned) {
        auto& addresses = Speed().addresses;
        const auto seen = std::ranges::find(addresses, examined_.address, &AddressSeen::address);
        seen != addresses.end() ? Merge(*seen, examined_) : addresses.push_back(examined_);
    } else if (!again_) {
        unexplained_.insert(unexplained_.end(), tentative_.begin(), tentative_.end());
        silent_.push_back({examined_.address, bus_->Line().Now()});
        if (silent_.size() > kRememberedSilent) {
            silent_.pop_front();
        }
    }
    tentative_.clear();
    const bool found = again_ && examined_.Answers() > 0;
    if (!again_) {
        view_.Probed(Speed().baud, examined_.address, ++done_,
                     static_cast<unsigned>(plan_.baudIndexes.size() * (plan_.to - plan_.from + 1)));
    }
    examined_ = AddressSeen{.address = kNobody};
    if (found) {
        unexplained_.clear();
        candidates_.clear();
    }
}

// The addresses silent shortly before the first unowned garbled answer,
// latest first: a slow controller among them may have sent it.
bool BusSweep::Reexamine()
{
    if (candidates_.empty()) {
        const Garbled& first = unexplained_.front();
        const auto window = std::chrono::milliseconds(LateWindowMs(plan_.timeoutMs) + plan_.timeoutMs);
        for (auto silent = silent_.rbegin(); silent != silent_.rend() && candidates_.size() < kCandidates; ++silent) {
            if (silent->address != first.during && silent->at >= first.at - window && silent->at <= first.at) {
                candidates_.push_back(silent->address);
            }
        }
        std::ranges::reverse(candidates_);
        if (candidates_.empty()) {
            return false;
        }
    }
    const std::uint32_t address = candidates_.back();
    candidates_.pop_back();
    std::erase_if(silent_, [address](const Silent& s) { return s.address == address; });
    BeginExamining(address, true);
    return true;
}

void BusSweep::Advance()
{
    if (!unexplained_.empty()) {
        if (Reexamine()) {
            return;
        }
        // Nobody's: noise on the line.
        for (const Garbled& garbled : unexplained_) {
            Speed().noiseBytes += garbled.bytes;
        }
        unexplained_.clear();
    }
    if (next_ <= plan_.to) {
        BeginExamining(next_++, false);
    } else if (!lateListened_) {
        // An answer to the last probes may still be on its way.
        lateListened_ = true;
        late_.Start(*bus_, LateWindowMs(plan_.timeoutMs));
        state_ = State::ListeningLate;
    } else {
        NextSpeed();
    }
}

void BusSweep::NextSpeed()
{
    Speed().otherMaster = bus_->OtherMasterHeard();
    rule_.reset();
    bus_.reset();
    state_ = ++speedIndex_ < plan_.baudIndexes.size() ? State::Opening : State::Finished;
    if (state_ == State::Finished) {
        End(SweepEnd::Reason::Complete);
    }
}

void BusSweep::End(SweepEnd::Reason reason)
{
    state_ = State::Finished;
    if (bus_) {
        Speed().otherMaster = bus_->OtherMasterHeard();
    }
    SweepEnd end{reason, speeds_, std::nullopt, bus_ ? bus_->Line().Lost() : std::error_code{}};
    if (reason == SweepEnd::Reason::Complete || reason == SweepEnd::Reason::OtherMaster) {
        end.diagnosis = Diagnose(speeds_, plan_.timeoutMs);
    }
    view_.Ended(end);
}

}  // namespace tarnel::site
