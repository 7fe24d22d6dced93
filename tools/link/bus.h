#pragma once

#include "line.h"
#include "link/serial_port.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

namespace tarnel::tool {

// What a frame heard on the line turned out to be.
enum class Heard {
    Reply,    // answers the request under way, check good
    Late,     // answers an earlier request, after its wait was over
    Stray,    // a good frame that answers no request sent here
    Echo,     // the request itself, sent back by the adapter
    Corrupt,  // a bad check, or bytes that start no reply
    Short,    // fewer bytes than the reply announces, then silence
};

// "valid reply", "late answer", ...
const char* Describe(Heard kind);

struct HeardFrame {
    Heard kind;
    std::uint32_t address;  // of the request it answers (or, when it answers none, that it followed)
    std::vector<std::uint8_t> bytes;
    std::uint32_t afterMs;  // from the end of that request on the wire to the frame's first byte
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
// Ctrl-C ends every wait within a few milliseconds.
class Bus {
public:
    Bus(link::PortHandle& port, std::uint32_t baud, const Trace& trace);

    Answer Ask(std::span<const std::uint8_t> request, std::uint32_t timeoutMs);

    // Listens for `ms`, for answers to requests whose wait is over.
    void Listen(std::uint32_t ms);

    // The frames heard that were not the answer to the request under way,
    // oldest first; each is handed out once.
    std::vector<HeardFrame> TakeOthers();

    // Ctrl-C, or the device went away: nothing more can be asked.
    bool Stopped() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Sent {
        std::vector<std::uint8_t> frame;
        Clock::time_point wireEnd;
    };

    void Read();
    void AwaitSilence();
    // The next whole frame of the bytes heard; `inWait` while the last request waits for its answer.
    std::optional<HeardFrame> TakeFrame(bool inWait);
    // The first `length` bytes heard, as a frame of `kind` after the last request.
    HeardFrame Take(Heard kind, std::size_t length);
    // From the end of `sent` on the wire to the first byte heard since.
    std::uint32_t MsAfter(const Sent& sent) const;
    Clock::time_point CompletionDeadline() const;
    // Hands the frames heard to others_, then names any leftover bytes short.
    void SettleHeard();

    link::PortHandle& port_;
    std::uint32_t baud_;
    const Trace& trace_;
    std::vector<std::uint8_t> heard_;
    Clock::time_point heardSince_;  // when the first byte of heard_ came
    Clock::time_point lastActivity_;
    std::deque<Sent> sent_;
    std::vector<HeardFrame> others_;
};

}  // namespace tarnel::tool
