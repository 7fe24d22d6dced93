#include "site/frame_joiner.h"

#include "link/frame_shapes.h"

#include <algorithm>

namespace tarnel::site {
namespace {

using namespace std::chrono_literals;

// The lengths a frame starting with `bytes` may have, by its shape.
std::vector<std::size_t> CandidateLengths(std::span<const std::uint8_t> bytes)
{
    std::vector<std::size_t> lengths;
    if (bytes.size() >= 2) {
        const auto requests = link::RequestLengths(bytes[1]);
        lengths.assign(requests.begin(), requests.end());
    }
    if (const std::size_t reply = link::ReplyLength(bytes); reply != 0) {
        lengths.push_back(reply);
    }
    std::ranges::sort(lengths);
    return lengths;
}

}  // namespace

std::vector<FrameJoiner::Frame> FrameJoiner::Feed(const FrameSplitter::Frame& piece)
{
    std::vector<Frame> out = Flush(piece.start);
    pieces_.push_back({piece.start, piece.bytes.size()});
    pending_.insert(pending_.end(), piece.bytes.begin(), piece.bytes.end());
    Settle(false, out);
    return out;
}

std::vector<FrameJoiner::Frame> FrameJoiner::Flush(link::Micros now)
{
    std::vector<Frame> out;
    if (!pending_.empty() && now - PendingEnd() > link::kBurstMargin) {
        Settle(true, out);
    }
    return out;
}

link::Micros FrameJoiner::PendingEnd() const
{
    return pieces_.back().start + link::WireTime(pieces_.back().length, baud_);
}

void FrameJoiner::Settle(bool final, std::vector<Frame>& out)
{
    while (!pending_.empty()) {
        const std::vector<std::size_t> lengths = CandidateLengths(pending_);
        const auto whole = std::ranges::find_if(lengths, [this](std::size_t length) {
            return length >= 4 && length <= pending_.size() && link::HasValidCheck(std::span(pending_).first(length));
        });
        if (whole != lengths.end()) {
            GiveOut(*whole, true, out);
            continue;
        }
        // A frame may still begin here while some shape is longer than what came.
        const bool mayGrow = pending_.size() < 3 || std::ranges::any_of(lengths, [this](std::size_t length) {
                                 return length > pending_.size();
                             });
        if (mayGrow && !final) {
            return;
        }
        GiveOut(pieces_.front().length, false, out);
    }
}

void FrameJoiner::GiveOut(std::size_t length, bool whole, std::vector<Frame>& out)
{
    out.push_back({pieces_.front().start, {pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(length)},
                   whole});
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(length));
    // The pieces the frame took, and the part of the one it ended in.
    while (length > 0) {
        Piece& first = pieces_.front();
        const std::size_t taken = std::min(length, first.length);
        first.length -= taken;
        length -= taken;
        if (first.length == 0) {
            pieces_.erase(pieces_.begin());
        }
    }
}

}  // namespace tarnel::site
