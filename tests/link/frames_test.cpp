#include "frame_decoding.h"
#include "link/answer_frames.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "link/protocol.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarnel::link {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The CRC computed bit by bit, independently of the tables under test.
std::uint16_t BitwiseModbusCrc(std::span<const std::uint8_t> data)
{
    std::uint16_t crc = 0xFFFF;
    for (const std::uint8_t byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

template <std::size_t N>
Bytes AsBytes(const std::array<std::uint8_t, N>& frame)
{
    return {frame.begin(), frame.end()};
}

TEST(Frames, MatchKnownGoodFrames)
{
    EXPECT_EQ(AsBytes(ProbeFrame(1)), (Bytes{0x01, 0x04, 0x40, 0x02, 0x00, 0x01, 0x85, 0xCA}));
    EXPECT_EQ(AsBytes(ZeroCalibrationFrame(1)), (Bytes{0x01, 0x04, 0x40, 0x08, 0x00, 0x01, 0xA5, 0xC8}));
    EXPECT_EQ(AsBytes(SetAddressFrame(1, 2)), (Bytes{0x01, 0x06, 0x80, 0x01, 0x00, 0x01, 0x00, 0x02, 0x15, 0xC6}));
}

TEST(Frames, EveryProbeCarriesTheModbusCheckLowByteFirst)
{
    for (unsigned address = 0; address < 256; ++address) {
        const ShortFrame frame = ProbeFrame(address);
        const std::uint16_t crc = BitwiseModbusCrc(std::span(frame).first<6>());
        ASSERT_EQ(frame[0], address);
        ASSERT_EQ(frame[6], crc & 0xFF) << "address " << address;
        ASSERT_EQ(frame[7], crc >> 8) << "address " << address;
    }
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
