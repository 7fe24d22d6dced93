#include "request_framer.h"

#include "link/protocol.h"

#include <array>

namespace tarnel::sim {
namespace {

// Frame lengths a request with this function code may have: the standard
// 8 bytes, and for function 0x06 also the 10-byte form the service tool uses.
std::span<const std::size_t> LengthsFor(std::uint8_t function)
{
    static constexpr std::array<std::size_t, 1> kStandard{8};
    static constexpr std::array<std::size_t, 2> kWrite{8, 10};
    return function == link::kWriteRegister ? std::span<const std::size_t>(kWrite) : std::span<const std::size_t>(kStandard);
}

}  // namespace

std::vector<std::vector<std::uint8_t>> RequestFramer::Feed(std::span<const std::uint8_t> bytes)
{
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    std::vector<std::vector<std::uint8_t>> frames;
    while (pending_.size() >= 2) {
        bool complete = false;
        bool mayGrow = false;
        for (const std::size_t length : LengthsFor(pending_[1])) {
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
