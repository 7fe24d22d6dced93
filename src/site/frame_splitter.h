#pragma once

#include "link/line_timing.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tarnel::site {

// Cuts the bytes heard on a line into frames at the silences between them:
// 3.5 characters without a byte end a frame, as on a Modbus-RTU line.
// Times are counted from any fixed point.
class FrameSplitter {
public:
    struct Frame {
        link::Micros start;
        std::vector<std::uint8_t> bytes;
    };

    explicit FrameSplitter(std::uint32_t baud) : gap_(link::FrameGap(baud)) {}

    // Bytes that arrived at `at`; returns the frame that the silence before them ended.
    std::optional<Frame> Feed(std::span<const std::uint8_t> bytes, link::Micros at);

    // The frame that the silence up to `now` has ended.
    std::optional<Frame> Flush(link::Micros now);

private:
    link::Micros gap_;
    Frame frame_;
    link::Micros lastByte_{0};
};

}  // namespace tarnel::site
