#include "link/device_commands.h"
#include "link/frames.h"
#include "pseudo_terminal.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tarnel::link {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// A device played by the test: it answers each request with exactly the
// bytes given, check or no check.
class ScriptedDeviceTest : public ::testing::Test {
protected:
    template <typename Command>
    bool Answer(const Bytes& answer, Command command)
    {
        std::thread device([&] {
            request_ = pty_.Receive(1s, 8);
            pty_.Send(answer);
        });
        const bool result = command();
        device.join();
        return result;
    }

    test::PseudoTerminal pty_;
    test::PortsOverride ports_{pty_.SlavePath()};
    PortHandle port_ = OpenPort(1, 3);
    Bytes request_;
};

TEST_F(ScriptedDeviceTest, ZeroCalibrationNeedsSevenBytesWithAZeroValue)
{
    const auto calibrate = [this] { return ZeroCalibrate(port_, 9); };
    EXPECT_TRUE(Answer({0x09, 0x04, 0x02, 0x00, 0x00, 0xAB, 0xCD}, calibrate));
    const ShortFrame sent = ZeroCalibrationFrame(9);
    EXPECT_EQ(request_, Bytes(sent.begin(), sent.end()));
    EXPECT_FALSE(Answer({0x09, 0x04, 0x02, 0x00, 0x01, 0xAB, 0xCD}, calibrate));
    EXPECT_FALSE(Answer({0x09, 0x04, 0x02, 0x01, 0x00, 0xAB, 0xCD}, calibrate));
    EXPECT_FALSE(Answer({0x09, 0x04, 0x02, 0x00, 0x00, 0xAB}, calibrate));
}

TEST_F(ScriptedDeviceTest, AnySevenBytesInTimeAnswerAProbeOnce)
{
    // Wrong address, no valid check.
    EXPECT_TRUE(Answer({0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77}, [this] { return ProbeAddress(port_, 3, 500); }));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ProbeAddress(port_, 3, 200)) << "the earlier answer was purged";
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
}

TEST(DeviceCommandsOnSimulatedBus, AnswersAreJudgedByLengthAndTimeOnly)
{
    test::SimProcess sim({"5", "17,wet", "1,bad-crc", "2,short", "3,delay=300", "4,silent", "6,wet,bad-crc"});
    test::PortsOverride ports(sim.DevicePath());
    PortHandle port = OpenPort(1, 3);
    ASSERT_TRUE(port.IsOpen());

    EXPECT_TRUE(ProbeAddress(port, 5, 250));
    EXPECT_TRUE(ProbeAddress(port, 1, 250)) << "the check of an answer is not examined";
    EXPECT_FALSE(ProbeAddress(port, 2, 250));
    EXPECT_FALSE(ProbeAddress(port, 3, 150));
    EXPECT_TRUE(ProbeAddress(port, 3, 500));
    EXPECT_FALSE(ProbeAddress(port, 4, 150));

    EXPECT_TRUE(SetDeviceAddress(port, 5, 300));  // 300 goes out as 44
    EXPECT_TRUE(ProbeAddress(port, 44, 250));
    EXPECT_FALSE(ProbeAddress(port, 5, 100));
    EXPECT_FALSE(SetDeviceAddress(port, 5, 7)) << "nobody is at 5 any more";

    EXPECT_TRUE(ZeroCalibrate(port, 17));
    EXPECT_TRUE(ZeroCalibrate(port, 6));
    EXPECT_FALSE(ZeroCalibrate(port, 44)) << "its rope is dry";
}

}  // namespace
}  // namespace tarnel::link
