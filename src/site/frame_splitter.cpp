#include "site/frame_splitter.h"

#include <utility>

namespace tarnel::site {

std::optional<FrameSplitter::Frame> FrameSplitter::Feed(std::span<const std::uint8_t> bytes, link::Micros at)
{
    std::optional<Frame> ended = Flush(at);
    if (frame_.bytes.empty()) {
        frame_.start = at;
    }
    frame_.bytes.insert(frame_.bytes.end(), bytes.begin(), bytes.end());
    lastByte_ = at;
    return ended;
}

std::optional<FrameSplitter::Frame> FrameSplitter::Flush(link::Micros now)
{
    if (frame_.bytes.empty() || now - lastByte_ < gap_) {
        return std::nullopt;
    }
    return std::exchange(frame_, {});
}

}  // namespace tarnel::site
