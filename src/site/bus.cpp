#include "site/bus.h"

#include "link/answer_frames.h"
#include "link/frame_shapes.h"

#include <algorithm>
#include <utility>

namespace tarnel::site {

namespace {

using namespace std::chrono_literals;

// Late answers are matched against this many requests before the one under way.
constexpr std::size_t kRemembered = 16;

// How often a wait looks at the line.
constexpr auto kPollPause = 1ms;

}  // namespace

const BusWatcher Bus::kUnwatched;

Bus::Bus(link::Line& line, std::uint32_t baud, const BusWatcher& watcher)
    : line_(line), baud_(baud), watcher_(watcher), lastActivity_(line.Now())
{
}

bool Bus::Stopped() const
{
    return Interrupted() || YieldsToOtherMaster();
}

bool Bus::Interrupted() const
{
    return line_.StopRequested() || line_.Lost();
}

std::vector<HeardFrame> Bus::TakeOthers()
{
    return std::exchange(others_, {});
}

void Bus::Read()
{
    while (auto heard = line_.Take()) {
        lastActivity_ = heard->at;
        arrivals_.push_back({heard_.size(), heard->at});
        heard_.insert(heard_.end(), heard->bytes.begin(), heard->bytes.end());
    }
}

HeardFrame Bus::Take(Heard kind, std::size_t length)
{
    const link::TimePoint at = HeardSince();
    const auto end = heard_.begin() + static_cast<std::ptrdiff_t>(length);
    HeardFrame frame{kind, 0, {heard_.begin(), end}, 0};
    if (!sent_.empty()) {
        frame.address = sent_.back().frame[0];
        frame.afterMs = MsAfter(sent_.back());
    }
    heard_.erase(heard_.begin(), end);
    if (kind == Heard::Request) {
        frame.address = frame.bytes[0];
        NoteOtherMaster(frame.address, at);
    }
    // What is left came with the piece that holds its first byte.
    const auto rest = std::ranges::upper_bound(arrivals_, length, {}, &Arrival::offset) - 1;
    arrivals_.erase(arrivals_.begin(), heard_.empty() ? arrivals_.end() : rest);
    for (Arrival& arrival : arrivals_) {
        arrival.offset = arrival.offset > length ? arrival.offset - length : 0;
    }
    watcher_.Heard(at, frame.bytes, kind);
    return frame;
}

std::optional<HeardFrame> Bus::TakeFrame(bool inWait)
{
    const std::span<const std::uint8_t> last = sent_.empty() ? std::span<const std::uint8_t>{} : sent_.back().frame;
    const link::CutFrame cut = link::NextFrame(last, heard_);
    switch (cut.kind) {
    case link::FrameKind::Incomplete: return std::nullopt;
    case link::FrameKind::Echo: return Take(Heard::Echo, cut.length);
    case link::FrameKind::Corrupt: return Take(Heard::Corrupt, cut.length);
    case link::FrameKind::Request: {
        // An echo of one of ours that came late is still an echo.
        const auto frame = std::span(heard_).first(cut.length);
        const bool ours =
            std::ranges::any_of(sent_, [frame](const Sent& sent) { return std::ranges::equal(sent.frame, frame); });
        return Take(ours ? Heard::Echo : Heard::Request, cut.length);
    }
    case link::FrameKind::Reply: break;
    }
    const std::span<const std::uint8_t> reply = std::span(heard_).first(cut.length);
    const auto answered = std::ranges::find_if(
        sent_.rbegin(), sent_.rend(), [reply](const Sent& sent) { return link::Answers(reply, sent.frame); });
    const bool ofNone = answered == sent_.rend();
    const std::uint32_t afterMs = ofNone ? 0 : MsAfter(*answered);
    // A write answered by none of ours is another master's, or its answer.
    const Heard kind = ofNone ? (link::RequestShaped(reply) ? Heard::Request : Heard::Stray)
                              : answered == sent_.rbegin() && inWait ? Heard::Reply : Heard::Late;
    HeardFrame frame = Take(kind, cut.length);
    frame.address = ofNone ? frame.bytes[0] : answered->frame[0];
    frame.afterMs = afterMs;
    return frame;
}

void Bus::NoteOtherMaster(std::uint32_t address, link::TimePoint at)
{
    if (!otherMaster_) {
        otherMaster_ = OtherMaster{{}, 0, at, at};
    }
    otherMaster_->addresses.insert(address);
    ++otherMaster_->requests;
    otherMaster_->last = at;
}

std::uint32_t Bus::MsAfter(const Sent& sent) const
{
    const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(HeardSince() - sent.wireEnd);
    return static_cast<std::uint32_t>(std::max(0ms, after).count());
}

link::TimePoint Bus::CompletionDeadline() const
{
    return HeardSince() + link::WireTime(link::kLongestReply, baud_) +
           std::max<link::Micros>(link::kBurstMargin, link::FrameGap(baud_));
}

bool Bus::MayGrow() const
{
    return !heard_.empty() && line_.Now() < CompletionDeadline();
}

void Bus::SettleHeard()
{
    while (auto frame = TakeFrame(false)) {
        if (frame->kind != Heard::Echo) {
            others_.push_back(std::move(*frame));
        }
    }
}

bool Bus::AwaitSilence(link::Micros most)
{
    const link::TimePoint until = line_.Now() + most;
    while (!Interrupted()) {
        Read();
        SettleHeard();
        // A frame begun is silence only once its bursts can no longer come:
        // a request sent now would cross the rest of it.
        if (line_.Now() - lastActivity_ >= link::FrameGap(baud_) && !MayGrow()) {
            if (!heard_.empty()) {
                others_.push_back(Take(Heard::Short, heard_.size()));
            }
            return true;
        }
        if (line_.Now() >= until) {
            return false;
        }
        line_.Wait(kPollPause);
    }
    return false;
}

void Bus::Listen(std::uint32_t ms)
{
    const auto end = line_.Now() + std::chrono::milliseconds(ms);
    while (!Interrupted() && (line_.Now() < end || MayGrow())) {
        Read();
        SettleHeard();
        line_.Wait(kPollPause);
    }
    if (!heard_.empty()) {
        others_.push_back(Take(Heard::Short, heard_.size()));
    }
}

Answer Bus::Ask(std::span<const std::uint8_t> request, std::uint32_t timeoutMs)
{
    Answer answer;
    while (!AwaitSilence(kPollPause) && !Interrupted()) {
    }
    if (Stopped()) {
        return answer;
    }
    line_.Write(request);
    const link::TimePoint sentAt = line_.Now();
    watcher_.Sent(sentAt, request);
    sent_.push_back({{request.begin(), request.end()}, sentAt + link::WireTime(request.size(), baud_)});
    if (sent_.size() > kRemembered + 1) {
        sent_.pop_front();
    }
    lastActivity_ = sent_.back().wireEnd;
    const auto firstByteDeadline = sent_.back().wireEnd + std::chrono::milliseconds(timeoutMs);
    while (!Interrupted()) {
        Read();
        while (auto frame = TakeFrame(true)) {
            if (frame->kind == Heard::Echo) {
                answer.echoed = true;
            } else if (frame->kind == Heard::Reply || frame->kind == Heard::Corrupt) {
                answer.frame = std::move(*frame);
                return answer;
            } else {
                others_.push_back(std::move(*frame));
            }
        }
        const auto now = line_.Now();
        if (!heard_.empty() && now > CompletionDeadline()) {
            answer.frame = Take(Heard::Short, heard_.size());
            return answer;
        }
        if (heard_.empty() && now > firstByteDeadline) {
            return answer;
        }
        line_.Wait(kPollPause);
    }
    return answer;
}

}  // namespace tarnel::site
