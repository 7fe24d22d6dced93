#include "frame_decoding.h"
#include "link/answer_frames.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "scripted_line.h"

#include <gtest/gtest.h>

namespace tarnel::link {
namespace {

using test::AsBytes;
using test::Bytes;

// Frames worked out by hand: any fault in the check or its byte order shows.
TEST(Frames, MatchKnownGoodFrames)
{
    EXPECT_EQ(AsBytes(ProbeFrame(1)), (Bytes{0x01, 0x04, 0x40, 0x02, 0x00, 0x01, 0x85, 0xCA}));
    EXPECT_EQ(AsBytes(ZeroCalibrationFrame(1)), (Bytes{0x01, 0x04, 0x40, 0x08, 0x00, 0x01, 0xA5, 0xC8}));
    EXPECT_EQ(AsBytes(SetAddressFrame(1, 2)), (Bytes{0x01, 0x06, 0x80, 0x01, 0x00, 0x01, 0x00, 0x02, 0x15, 0xC6}));
    EXPECT_EQ(AsBytes(ProbeFrame(255)), (Bytes{0xFF, 0x04, 0x40, 0x02, 0x00, 0x01, 0x90, 0x14}));
}

// How each kind of frame is cut and named is tested on the exchange; here,
// what answers what.
TEST(AnswerFrames, AReplyAnswersItsOwnAddressAndFunctionOnly)
{
    const Bytes probe = AsBytes(ProbeFrame(17));
    const Bytes reply = Sealed({0x11, 0x04, 0x02, 0x00, 0x00});
    const Bytes ack = Sealed({0x05, 0x06, 0x80, 0x01, 0x00, 0x09});
    EXPECT_EQ(NextFrame(AsBytes(SetAddressFrame(5, 9)), ack).length, 8u);
    EXPECT_TRUE(Answers(reply, probe));
    EXPECT_TRUE(Answers(Sealed({0x11, 0x84, 0x02}), probe));
    EXPECT_FALSE(Answers(reply, AsBytes(ProbeFrame(18))));
    EXPECT_FALSE(Answers(ack, AsBytes(ProbeFrame(5))));
    EXPECT_EQ(tool::Decode(AsBytes(SetAddressFrame(1, 2))),
              "address 1, write register 0x8001 = 2 (long form), check good");
}

}  // namespace
}  // namespace tarnel::link
