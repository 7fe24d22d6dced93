#include "bus.h"

#include "link/answer_frames.h"
#include "link/line_timing.h"
#include "link/protocol.h"
#include "platform/clock.h"

#include <algorithm>
#include <utility>

namespace tarnel::tool {
namespace {

using namespace std::chrono_literals;

// Late answers are matched against this many requests back.
constexpr std::size_t kRemembered = 16;

// The longest reply a controller gives (to a change of address).
constexpr std::size_t kLongestReply = 8;

// USB adapters hand received bytes over in bursts up to 16 ms apart.
constexpr auto kBurstMargin = 20ms;

}  // namespace

const char* Describe(Heard kind)
{
    switch (kind) {
    case Heard::Reply: return "valid reply";
    case Heard::Late: return "late answer";
    case Heard::Stray: return "stray answer";
    case Heard::Echo: return "echo of the request";
    case Heard::Corrupt: return "corrupt answer";
    case Heard::Short: break;
    }
    return "short answer";
}

Bus::Bus(link::PortHandle& port, std::uint32_t baud, const Trace& trace)
    : port_(port), baud_(baud), trace_(trace), lastActivity_(Clock::now())
{
}

bool Bus::Stopped() const
{
    return gInterrupted || port_.Lost();
}

std::vector<HeardFrame> Bus::TakeOthers()
{
    return std::exchange(others_, {});
}

void Bus::Read()
{
    const std::vector<std::uint8_t> bytes = link::ReadQueued(port_);
    if (bytes.empty()) {
        return;
    }
    lastActivity_ = Clock::now();
    if (heard_.empty()) {
        heardSince_ = lastActivity_;
    }
    trace_.Received(bytes);
    heard_.insert(heard_.end(), bytes.begin(), bytes.end());
}

HeardFrame Bus::Take(Heard kind, std::size_t length)
{
    const auto end = heard_.begin() + static_cast<std::ptrdiff_t>(length);
    HeardFrame frame{kind, 0, {heard_.begin(), end}, 0};
    if (!sent_.empty()) {
        frame.address = sent_.back().frame[0];
        frame.afterMs = MsAfter(sent_.back());
    }
    heard_.erase(heard_.begin(), end);
    // What is left came at the latest with the last read.
    heardSince_ = lastActivity_;
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
    case link::FrameKind::Reply: break;
    }
    const std::span<const std::uint8_t> reply = std::span(heard_).first(cut.length);
    const auto answered = std::ranges::find_if(
        sent_.rbegin(), sent_.rend(), [reply](const Sent& sent) { return link::Answers(reply, sent.frame); });
    const bool ofNone = answered == sent_.rend();
    const std::uint32_t afterMs = ofNone ? 0 : MsAfter(*answered);
    HeardFrame frame = Take(Heard::Stray, cut.length);
    if (ofNone) {
        frame.address = frame.bytes[0];
    } else {
        frame.kind = answered == sent_.rbegin() && inWait ? Heard::Reply : Heard::Late;
        frame.address = answered->frame[0];
        frame.afterMs = afterMs;
    }
    return frame;
}

std::uint32_t Bus::MsAfter(const Sent& sent) const
{
    const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(heardSince_ - sent.wireEnd);
    return static_cast<std::uint32_t>(std::max(0ms, after).count());
}

Bus::Clock::time_point Bus::CompletionDeadline() const
{
    return heardSince_ + link::WireTime(kLongestReply, baud_) + std::max<link::Micros>(kBurstMargin, link::FrameGap(baud_));
}

void Bus::SettleHeard()
{
    while (auto frame = TakeFrame(false)) {
        if (frame->kind != Heard::Echo) {
            others_.push_back(std::move(*frame));
        }
    }
}

void Bus::AwaitSilence()
{
    const link::Micros gap = link::FrameGap(baud_);
    while (!Stopped()) {
        Read();
        SettleHeard();
        if (Clock::now() - lastActivity_ >= gap) {
            break;
        }
        platform::Pause(1);
    }
    if (!heard_.empty()) {
        others_.push_back(Take(Heard::Short, heard_.size()));
    }
}

void Bus::Listen(std::uint32_t ms)
{
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!Stopped() && (Clock::now() < end || (!heard_.empty() && Clock::now() < CompletionDeadline()))) {
        Read();
        SettleHeard();
        platform::Pause(1);
    }
    if (!heard_.empty()) {
        others_.push_back(Take(Heard::Short, heard_.size()));
    }
}

Answer Bus::Ask(std::span<const std::uint8_t> request, std::uint32_t timeoutMs)
{
    Answer answer;
    AwaitSilence();
    if (Stopped()) {
        return answer;
    }
    port_.Write(request);
    trace_.Sent(request);
    sent_.push_back({{request.begin(), request.end()}, Clock::now() + link::WireTime(request.size(), baud_)});
    if (sent_.size() > kRemembered) {
        sent_.pop_front();
    }
    lastActivity_ = sent_.back().wireEnd;
    const auto firstByteDeadline = sent_.back().wireEnd + std::chrono::milliseconds(timeoutMs);
    while (!Stopped()) {
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
        const auto now = Clock::now();
        if (!heard_.empty() && now > CompletionDeadline()) {
            answer.frame = Take(Heard::Short, heard_.size());
            return answer;
        }
        if (heard_.empty() && now > firstByteDeadline) {
            return answer;
        }
        platform::Pause(1);
    }
    return answer;
}

}  // namespace tarnel::tool
