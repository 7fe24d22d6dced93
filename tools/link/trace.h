#pragma once

#include "site/bus.h"

#include <cstdint>
#include <span>

namespace tarnel::tool {

// Each frame sent and heard, on standard error, with the time of its first
// byte since the start, in hex and decoded; silent unless switched on.
class Trace : public site::BusWatcher {
public:
    Trace(bool on, link::TimePoint start) : on_(on), start_(start) {}

    void Sent(link::TimePoint at, std::span<const std::uint8_t> frame) const override;
    void Heard(link::TimePoint at, std::span<const std::uint8_t> frame, site::Heard kind) const override;

private:
    // `name` says what the frame is where its decoding does not; may be null.
    void Print(link::TimePoint at, const char* direction, std::span<const std::uint8_t> bytes, const char* name) const;

    bool on_;
    link::TimePoint start_;
};

}  // namespace tarnel::tool
