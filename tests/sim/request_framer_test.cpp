#include "link/frames.h"
#include "request_framer.h"

#include <gtest/gtest.h>

namespace tarnel::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes AsBytes(const std::array<std::uint8_t, N>& frame)
{
    return {frame.begin(), frame.end()};
}

TEST(RequestFramer, FindsFramesInNoiseAndAcrossReads)
{
    RequestFramer framer;
    const Bytes probe = AsBytes(link::ProbeFrame(5));
    const Bytes move = AsBytes(link::SetAddressFrame(5, 9));

    Bytes stream{0x00, 0xFF, 0x04};
    stream.insert(stream.end(), probe.begin(), probe.end());
    stream.insert(stream.end(), move.begin(), move.begin() + 6);
    EXPECT_EQ(framer.Feed(stream), std::vector<Bytes>{probe});

    const Bytes tail(move.begin() + 6, move.end());
    EXPECT_EQ(framer.Feed(tail), std::vector<Bytes>{move}) << "the 10-byte form of function 0x06";

    Bytes corrupted = probe;
    corrupted[3] ^= 0x01;
    EXPECT_TRUE(framer.Feed(corrupted).empty());
}

}  // namespace
}  // namespace tarnel::sim
