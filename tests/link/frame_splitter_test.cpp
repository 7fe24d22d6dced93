#include "frame_splitter.h"

#include <gtest/gtest.h>

namespace tarnel::tool {
namespace {

// Two halves of a frame with a pause between them, against the 3.5
// characters that end a frame: 29.2 ms at 1200 baud, 3.6 ms at 9600.
TEST(FrameSplitter, APauseEndsAFrameOnlyPastThreeAndAHalfCharacters)
{
    const struct {
        std::uint32_t baud;
        link::Micros pause;
        std::size_t frames;
    } cases[] = {
        {1200, link::Micros(20'000), 1},
        {1200, link::Micros(40'000), 2},
        {9600, link::Micros(2'500), 1},
        {9600, link::Micros(5'000), 2},
    };
    const std::vector<std::uint8_t> half{0x05, 0x04, 0x40, 0x02};
    for (const auto& c : cases) {
        FrameSplitter splitter(c.baud);
        std::vector<FrameSplitter::Frame> frames;
        // Each half arrives byte by byte at the line's pace.
        link::Micros at{0};
        for (const auto pauseBefore : {link::Micros(0), c.pause}) {
            at += pauseBefore;
            for (const std::uint8_t byte : half) {
                at += link::WireTime(1, c.baud);
                if (auto frame = splitter.Feed(std::span(&byte, 1), at)) {
                    frames.push_back(*frame);
                }
            }
        }
        if (auto frame = splitter.Flush(at + link::FrameGap(c.baud))) {
            frames.push_back(*frame);
        }
        EXPECT_EQ(frames.size(), c.frames) << c.baud << " baud, pause " << c.pause.count() << " us";
        EXPECT_EQ(frames.back().bytes.size(), 8 / c.frames);
    }
}

}  // namespace
}  // namespace tarnel::tool
