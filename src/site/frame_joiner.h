#pragma once

#include "site/frame_splitter.h"

#include <cstdint>
#include <vector>

namespace tarnel::site {

// Joins what the silence rule cut apart. USB adapters hand bytes over in
// bursts up to 16 ms apart, longer than 3.5 characters at 9600 baud and
// above, so one frame may come as several pieces: pieces that together make
// a frame of a request's or a reply's shape with a good check are that
// frame; bytes that make none are given out as they came, not whole.
class FrameJoiner {
public:
    struct Frame {
        link::Micros start;
        std::vector<std::uint8_t> bytes;
        bool whole;  // a frame of a known shape with a good check
    };

    explicit FrameJoiner(std::uint32_t baud) : baud_(baud) {}

    // A piece the splitter cut; returns the frames it completes or rules out.
    std::vector<Frame> Feed(const FrameSplitter::Frame& piece);

    // The pieces that waited past the bursts' margin at `now`, given out.
    std::vector<Frame> Flush(link::Micros now);

private:
    struct Piece {
        link::Micros start;
        std::size_t length;
    };

    // Gives out the whole frames at the front of pending_, and with `final`
    // (or once no frame can begin there) the bytes before the next piece.
    void Settle(bool final, std::vector<Frame>& out);
    void GiveOut(std::size_t length, bool whole, std::vector<Frame>& out);
    link::Micros PendingEnd() const;

    std::uint32_t baud_;
    std::vector<std::uint8_t> pending_;
    std::vector<Piece> pieces_;  // of pending_, oldest first
};

}  // namespace tarnel::site
