#include "request_framer.h"

#include "link/frame_shapes.h"

namespace tarnel::sim {

std::vector<std::vector<std::uint8_t>> RequestFramer::Feed(std::span<const std::uint8_t> bytes)
{
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    std::vector<std::vector<std::uint8_t>> frames;
    while (pending_.size() >= 2) {
        bool complete = false;
        bool mayGrow = false;
        for (const std::size_t length : link::RequestLengths(pending_[1])) {
            if (pending_.size() < length) {
                mayGrow = true;
            } else if (link::HasValidCheck(std::span(pending_).first(length))) {
                frames.emplace_back(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(length));
                pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(length));
                complete = true;
                break;
            }
        }
        if (complete) {
            continue;
        }
        if (mayGrow) {
            break;
        }
        pending_.erase(pending_.begin());
    }
    return frames;
}

}  // namespace tarnel::sim
