#pragma once

#include "link/line.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tarnel::test {

using Bytes = std::vector<std::uint8_t>;

// A line played from a table of timed events on a virtual clock, which
// moves only while the code under test waits.
class ScriptedLine : public link::Line {
public:
    // Bytes heard `at` after request `request` was written (counting from 1),
    // or after the start of the script for request 0. No bytes, no event.
    struct Event {
        unsigned request;
        link::Micros at;
        Bytes bytes;
    };
    // Bytes at a time: a request written, since the start; bytes due, since
    // the start; a reply, after its request.
    struct Timed {
        link::Micros at;
        Bytes bytes;
    };
    using Written = Timed;
    using Reply = Timed;

    // What the devices on the line answer to a request written: the bytes
    // and when they come after it, the request counted from 1.
    using Responder = std::function<std::vector<Reply>(const Bytes& request, unsigned number)>;

    explicit ScriptedLine(std::vector<Event> events = {}, Responder responder = {})
        : script_(std::move(events)), responder_(std::move(responder))
    {
        Schedule(0);
    }

    // From `at` on (since the start), the line asks to stop, or is lost.
    void StopAt(link::Micros at) { stopAt_ = at; }
    void LoseAt(link::Micros at) { lostAt_ = at; }
    // The line is lost once request `number` has been written (0: never).
    void LoseAfterRequest(unsigned number) { loseAfter_ = number; }
    // It also stops when `stop` asks: a click on 停止.
    void StopWith(const link::StopSource* stop) { stop_ = stop; }

    const std::vector<Written>& Writes() const { return writes_; }
    link::Micros Elapsed() const { return now_; }

    void Write(std::span<const std::uint8_t> bytes) override;
    void Purge() override;
    std::optional<link::HeardBytes> Take() override;
    std::error_code Lost() const override;
    link::TimePoint Now() const override { return link::TimePoint(now_); }
    void Wait(link::Micros time) override { now_ += time; }
    bool StopRequested() const override
    {
        return (stopAt_ && now_ >= *stopAt_) || (stop_ && stop_->StopRequested());
    }

private:
    // Makes the events of `request` due, counted from now.
    void Schedule(unsigned request);

    std::vector<Event> script_;
    Responder responder_;
    std::vector<Timed> due_;  // in the order they come
    std::vector<Written> writes_;
    link::Micros now_{0};
    std::optional<link::Micros> stopAt_;
    std::optional<link::Micros> lostAt_;
    std::optional<unsigned> loseAfter_;
    const link::StopSource* stop_ = nullptr;
};

// A reply to a probe or a calibration carrying `value`, its check good.
Bytes ValueReply(std::uint8_t address, std::uint16_t value = 0);

// `a`, then `b`: bytes, or events.
template <class T>
std::vector<T> Joined(std::vector<T> a, const std::vector<T>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Bytes `from` to `to` of `bytes`.
inline Bytes Part(const Bytes& bytes, std::ptrdiff_t from, std::ptrdiff_t to)
{
    return Bytes(bytes.begin() + from, bytes.begin() + to);
}

// `frame` as bytes.
template <class Frame>
Bytes AsBytes(const Frame& frame)
{
    return Bytes(frame.begin(), frame.end());
}

}  // namespace tarnel::test
