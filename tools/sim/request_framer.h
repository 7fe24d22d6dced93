#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tarnel::sim {

// Cuts the byte stream of the bus into request frames. A frame is accepted
// only with a valid check; bytes that start no valid frame are dropped one by
// one, so the framer finds its way back after noise.
class RequestFramer {
public:
    std::vector<std::vector<std::uint8_t>> Feed(std::span<const std::uint8_t> bytes);

    // No partial frame is waiting for more bytes.
    bool Empty() const { return pending_.empty(); }

    // Forget a partial frame, as after a silence on the line.
    void Reset() { pending_.clear(); }

private:
    std::vector<std::uint8_t> pending_;
};

}  // namespace tarnel::sim
