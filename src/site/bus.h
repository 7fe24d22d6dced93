#pragma once

#include "link/line.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace tarnel::site {

// What a frame heard on the line turned out to be.
enum class Heard {
    Reply,    // answers the request under way, check good
    Late,     // answers an earlier request, after its wait was over
    Stray,    // a good frame that answers no request sent here
    Echo,     // the request itself, sent back by the adapter
    Corrupt,  // a bad check, or bytes that start no reply
    Short,    // fewer bytes than the reply announces, then silence
    Request,  // another master's request: a frame in a request's shape not sent here
};

struct HeardFrame {
    Heard kind;
    std::uint32_t address;  // of the request it answers (or, when it answers none, that it followed)
    std::vector<std::uint8_t> bytes;
    std::uint32_t afterMs;  // from the end of that request on the wire to the frame's first byte
};

// Who sees each frame as it goes out, and as it is named once whole: the
// trace, or a test.
class BusWatcher {
public:
    virtual ~BusWatcher() = default;
    virtual void Sent(link::TimePoint, std::span<const std::uint8_t>) const {}
    // `at` is the time of the frame's first byte.
    virtual void Heard(link::TimePoint, std::span<const std::uint8_t>, Heard) const {}
};

// The requests of another master, heard since the bus was opened.
struct OtherMaster {
    std::set<std::uint32_t> addresses;
    std::size_t requests = 0;
    link::TimePoint first, last;
};

// The answer to one request: its reply, a corrupt or short answer, or none.
struct Answer {
    std::optional<HeardFrame> frame;
    bool echoed = false;  // the adapter sent the request back
};

// Requests and answers on a line as a Modbus-RTU bus has them. Every
// request waits for 3.5 characters of silence; its wait for the first byte
// of the answer starts when its last byte has left at the line's speed, and
// once that byte has come, the rest of the answer gets its own wire time and
// a margin for adapters that hand bytes over in bursts. An answer counts only
// for the request it matches; anything else is kept, named, for the caller.
// The line's stop source ends every wait within a few milliseconds. Once a
// request of another master has been heard, nothing more is sent, unless
// other masters were allowed.
class Bus {
public:
    // Nobody watches.
    static const BusWatcher kUnwatched;

    Bus(link::Line& line, std::uint32_t baud, const BusWatcher& watcher = kUnwatched);

    // Waits for 3.5 characters of silence first, as long as that takes.
    Answer Ask(std::span<const std::uint8_t> request, std::uint32_t timeoutMs);

    // Waits at most `most` for 3.5 characters of silence with no frame begun,
    // so that a front end with other things to do can wait a slice at a time;
    // true once the line is that quiet.
    bool AwaitSilence(link::Micros most);

    // Listens for `ms`, for answers to requests whose wait is over.
    void Listen(std::uint32_t ms);

    // The frames heard that were not the answer to the request under way,
    // oldest first; each is handed out once.
    std::vector<HeardFrame> TakeOthers();

    // Asked to stop, the device went away, or another master uses the bus:
    // nothing more can be asked.
    bool Stopped() const;

    // Asked to stop, or the device went away: every wait ends.
    bool Interrupted() const;

    // Another master's request was heard and others are not allowed: the bus
    // is theirs.
    bool YieldsToOtherMaster() const { return otherMaster_ && !otherMastersAllowed_; }

    // Sends even while another master uses the bus.
    void AllowOtherMasters() { otherMastersAllowed_ = true; }

    const std::optional<OtherMaster>& OtherMasterHeard() const { return otherMaster_; }

    link::Line& Line() const { return line_; }
    std::uint32_t Baud() const { return baud_; }

private:
    struct Sent {
        std::vector<std::uint8_t> frame;
        link::TimePoint wireEnd;
    };
    // Where a piece of heard_ begins, and when it came.
    struct Arrival {
        std::size_t offset;
        link::TimePoint at;
    };

    void Read();
    // The next whole frame of the bytes heard; `inWait` while the last request waits for its answer.
    std::optional<HeardFrame> TakeFrame(bool inWait);
    // The first `length` bytes heard, as a frame of `kind` after the last request.
    HeardFrame Take(Heard kind, std::size_t length);
    // When the first byte of heard_ came.
    link::TimePoint HeardSince() const { return arrivals_.front().at; }
    // From the end of `sent` on the wire to the first byte heard since.
    std::uint32_t MsAfter(const Sent& sent) const;
    link::TimePoint CompletionDeadline() const;
    // Whether heard_ may still grow into a frame: its first byte came less
    // than a reply's wire time and the bursts' margin ago.
    bool MayGrow() const;
    void NoteOtherMaster(std::uint32_t address, link::TimePoint at);
    // Hands the whole frames heard to others_; echoes are dropped.
    void SettleHeard();

    link::Line& line_;
    std::uint32_t baud_;
    const BusWatcher& watcher_;
    std::vector<std::uint8_t> heard_;
    std::vector<Arrival> arrivals_;  // one for each piece of heard_, oldest first
    link::TimePoint lastActivity_;
    std::deque<Sent> sent_;
    std::vector<HeardFrame> others_;
    std::optional<OtherMaster> otherMaster_;
    bool otherMastersAllowed_ = false;
};

}  // namespace tarnel::site
