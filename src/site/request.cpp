#include "site/request.h"

#include "site/listening.h"

#include <algorithm>

namespace tarnel::site {

std::uint32_t LateWindowMs(std::uint32_t timeoutMs)
{
    return std::max<std::uint32_t>(500, 2 * timeoutMs);
}

Request::Request(std::span<const std::uint8_t> frame, std::uint32_t timeoutMs, Late late)
    : frame_(frame.begin(), frame.end()), timeoutMs_(timeoutMs), late_(late)
{
}

bool Request::Tick(Bus& bus)
{
    if (!sent_) {
        if (!ReadyToAsk(bus)) {
            return false;
        }
        sent_ = true;
        answer_ = bus.Ask(frame_, timeoutMs_);
    } else {
        bus.Listen(kSliceMs);
        listenedMs_ += kSliceMs;
        for (HeardFrame& frame : bus.TakeOthers()) {
            if (!answer_.frame && frame.kind == Heard::Late && frame.address == frame_[0]) {
                answer_.frame = std::move(frame);
            }
        }
    }
    return late_ == Late::NotAwaited || answer_.frame || bus.Stopped() || listenedMs_ >= LateWindowMs(timeoutMs_);
}

Answer AskListeningLate(Bus& bus, std::span<const std::uint8_t> request, std::uint32_t timeoutMs)
{
    Request asking(request, timeoutMs);
    while (!asking.Tick(bus)) {
    }
    return asking.Result();
}

}  // namespace tarnel::site
