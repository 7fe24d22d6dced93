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
using Clock = std::chrono::steady_clock;

// A device played by the test: it waits for one request and answers it with
// exactly the bytes given, check or no check.
class ScriptedDeviceTest : public ::testing::Test {
protected:
    bool CalibrateAgainst(const Bytes& answer)
    {
        PortHandle port = OpenPort(1, 3);
        EXPECT_TRUE(port.IsOpen());
        std::thread device([&] {
            request_ = pty_.Receive(1s, 8);
            pty_.Send(answer);
        });
        const bool confirmed = ZeroCalibrate(port, 9);
        device.join();
        return confirmed;
    }

    test::PseudoTerminal pty_;
    test::PortsOverride ports_{pty_.SlavePath()};
    Bytes request_;
};

TEST_F(ScriptedDeviceTest, ZeroCalibrationNeedsSevenBytesWithAZeroValue)
{
    EXPECT_TRUE(CalibrateAgainst({0x09, 0x04, 0x02, 0x00, 0x00, 0xAB, 0xCD}));
    const ShortFrame sent = ZeroCalibrationFrame(9);
    EXPECT_EQ(request_, Bytes(sent.begin(), sent.end()));

    EXPECT_FALSE(CalibrateAgainst({0x09, 0x04, 0x02, 0x00, 0x01, 0xAB, 0xCD}));
    EXPECT_FALSE(CalibrateAgainst({0x09, 0x04, 0x02, 0x01, 0x00, 0xAB, 0xCD}));
    EXPECT_FALSE(CalibrateAgainst({0x09, 0x04, 0x02, 0x00, 0x00, 0xAB}));
}

TEST_F(ScriptedDeviceTest, AnySevenBytesInTimeAnswerAProbe)
{
    PortHandle port = OpenPort(1, 3);
    ASSERT_TRUE(port.IsOpen());
    std::thread device([&] {
        pty_.Receive(1s, 8);
        pty_.Send({0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77});  // wrong address, no valid check
    });
    EXPECT_TRUE(ProbeAddress(port, 3, 500));
    device.join();

    const auto start = Clock::now();
    EXPECT_FALSE(ProbeAddress(port, 3, 200)) << "the earlier answer was purged";
    EXPECT_GE(Clock::now() - start, 200ms);
}

TEST(DeviceCommands, GivenNoPortAProbeSendsNothingAndWaitsItsTimeOut)
{
    PortHandle none;
    const auto start = Clock::now();
    EXPECT_FALSE(ProbeAddress(none, 1, 100));
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 200ms);
}

TEST(DeviceCommandsOnSimulatedBus, FindReAddressAndCalibrateControllers)
{
    test::SimProcess sim({"5", "17,wet"});
    test::PortsOverride ports(sim.DevicePath());
    PortHandle port = OpenPort(1, 3);
    ASSERT_TRUE(port.IsOpen());

    EXPECT_TRUE(ProbeAddress(port, 5, 250));
    EXPECT_TRUE(ProbeAddress(port, 17, 250));
    EXPECT_FALSE(ProbeAddress(port, 6, 100));

    EXPECT_TRUE(SetDeviceAddress(port, 5, 300));  // 300 goes out as 44
    EXPECT_TRUE(ProbeAddress(port, 44, 250));
    EXPECT_FALSE(ProbeAddress(port, 5, 100));
    EXPECT_NE(sim.Output().find("controller 5 now answers at address 44"), std::string::npos);

    EXPECT_FALSE(SetDeviceAddress(port, 5, 6)) << "nobody is at 5 any more";
    EXPECT_TRUE(ZeroCalibrate(port, 17));
    EXPECT_FALSE(ZeroCalibrate(port, 44)) << "its rope is dry";
}

TEST(DeviceCommandsOnSimulatedBus, FaultyAnswersAreJudgedByLengthAndTimeOnly)
{
    test::SimProcess sim({"1,bad-crc", "2,short", "3,delay=300", "4,silent", "5,wet,bad-crc"});
    test::PortsOverride ports(sim.DevicePath());
    PortHandle port = OpenPort(1, 3);
    ASSERT_TRUE(port.IsOpen());

    EXPECT_TRUE(ProbeAddress(port, 1, 250)) << "the check of an answer is not examined";
    EXPECT_FALSE(ProbeAddress(port, 2, 250));
    EXPECT_FALSE(ProbeAddress(port, 3, 150));
    EXPECT_TRUE(ProbeAddress(port, 3, 500));
    EXPECT_FALSE(ProbeAddress(port, 4, 150));
    EXPECT_TRUE(ZeroCalibrate(port, 5));
}

}  // namespace
}  // namespace tarnel::link
