#pragma once

#include "site/bus.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarnel::site {

// How long a silent controller is still listened to, so that one that
// answers late is named as late, not as silent.
std::uint32_t LateWindowMs(std::uint32_t timeoutMs);

// One request and its answer over ticks: sent on the first, then, while
// nothing has answered, listened for a slice a tick through the late
// window; a late answer from the address asked then counts as the answer.
class Request {
public:
    enum class Late { ListenedFor, NotAwaited };

    Request(std::span<const std::uint8_t> frame, std::uint32_t timeoutMs, Late late = Late::ListenedFor);

    // Sends it, or listens one slice; true once the answer is settled.
    bool Tick(Bus& bus);

    const Answer& Result() const { return answer_; }

private:
    std::vector<std::uint8_t> frame_;
    std::uint32_t timeoutMs_;
    Late late_;
    bool sent_ = false;
    std::uint32_t listenedMs_ = 0;
    Answer answer_;
};

// The same, all at once.
Answer AskListeningLate(Bus& bus, std::span<const std::uint8_t> request, std::uint32_t timeoutMs);

}  // namespace tarnel::site
