#include "link/frame_shapes.h"
#include "link/frames.h"
#include "scripted_line.h"
#include "site/bus_statistics.h"
#include "site/frame_joiner.h"
#include "site/frame_splitter.h"

#include <gtest/gtest.h>

namespace tarnel::site {
namespace {

// Two halves of a frame with a pause between them, against the 3.5
// characters that end a frame: 29.2 ms at 1200 baud, 3.6 ms at 9600.
TEST(FrameSplitter, APauseEndsAFrameOnlyPastThreeAndAHalfCharacters)
{
    const struct { std::uint32_t baud; link::Micros pause; std::size_t frames; } cases[] = {
        {1200, link::Micros(20'000), 1}, {1200, link::Micros(40'000), 2},
        {9600, link::Micros(2'500), 1}, {9600, link::Micros(5'000), 2},
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

using namespace std::chrono_literals;
using test::Bytes;

const Bytes kProbe = test::AsBytes(link::ProbeFrame(5));
const Bytes kReply = test::ValueReply(5);


// Frames cut into pieces by a USB adapter's bursts, 16 ms apart, as the
// silence rule gives them: "whole" or "bad" frames, in order, and "then"
// before those that only the end of the bursts gave out.
TEST(FrameJoiner, PiecesThatMakeAFrameAreOneAndTheRestIsGivenOutAsItCame)
{
    const Bytes noise{0x13, 0x37, 0xFF};
    const struct { const char* name; std::vector<Bytes> pieces; std::vector<std::string> frames; } cases[] = {
        {"whole pieces", {kProbe, kReply}, {"whole 8", "whole 7", "then"}},
        {"a request in two", {test::Part(kProbe, 0, 3), test::Part(kProbe, 3, 8)}, {"whole 8", "then"}},
        {"a reply in three", {test::Part(kReply, 0, 2), test::Part(kReply, 2, 5), test::Part(kReply, 5, 7)}, {"whole 7", "then"}},
        {"noise, then a frame", {noise, kProbe}, {"bad 3", "whole 8", "then"}},
        {"a request and its reply in one burst", {test::Joined(kProbe, kReply)}, {"whole 8", "whole 7", "then"}},
        {"a reply cut short", {test::Part(kReply, 0, 5)}, {"then", "bad 5"}},
    };
    for (const auto& c : cases) {
        FrameJoiner joiner(19200);
        std::vector<std::string> frames;
        const auto take = [&frames](const std::vector<FrameJoiner::Frame>& out) {
            for (const auto& frame : out) {
                frames.push_back((frame.whole ? "whole " : "bad ") + std::to_string(frame.bytes.size()));
            }
        };
        link::Micros at{0};
        for (const Bytes& piece : c.pieces) {
            take(joiner.Feed({at, piece}));
            at += 16ms;
        }
        frames.push_back("then");
        take(joiner.Flush(at + 1s));
        EXPECT_EQ(frames, c.frames) << c.name;
    }
}

// A known trace at 9600 baud over 2 s: 5 polled four times, answering in
// 10 ms, once with a bad check; 6 polled twice and silent; one reply
// 1 ms after its request, closer than 3.5 characters.
TEST(BusStatistics, CountsPairsAndTimesPerAddress)
{
    BusStatistics statistics(9600);
    const Bytes probe6 = test::AsBytes(link::ProbeFrame(6));
    Bytes bad = kReply;
    bad.back() ^= 0xFF;
    const link::Micros probeTime = link::WireTime(8, 9600);
    link::Micros at{0};
    for (int poll = 0; poll < 4; ++poll) {
        statistics.Add({at, kProbe, true});
        const link::Micros gap = poll == 3 ? 1ms : 10ms;
        statistics.Add({at + probeTime + gap, poll == 2 ? bad : kReply, poll != 2});
        statistics.Add({at + 200ms, probe6, true});
        at += 400ms;
    }
    const BusSummary summary = statistics.Summary(2s);
    EXPECT_EQ(summary.seconds, 2.0);
    EXPECT_EQ((std::vector{summary.frames, summary.badChecks, summary.shortGaps}), (std::vector{12u, 1u, 1u}));
    ASSERT_EQ(summary.addresses.size(), 2u);
    const BusSummary::PerAddress& five = summary.addresses[0];
    EXPECT_EQ((std::vector{five.address, five.frames, five.badChecks}), (std::vector{5u, 8u, 1u}));
    ASSERT_TRUE(five.responseMs);
    EXPECT_EQ((std::vector{five.responseMs->min, five.responseMs->median, five.responseMs->max}),
              (std::vector{1.0, 10.0, 10.0}));
    EXPECT_EQ(five.responseMs->count, 3u);
    const BusSummary::PerAddress& six = summary.addresses[1];
    EXPECT_EQ((std::vector{six.address, six.frames, six.badChecks}), (std::vector{6u, 4u, 0u}));
    EXPECT_FALSE(six.responseMs);
}

}  // namespace
}  // namespace tarnel::site
