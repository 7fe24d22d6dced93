// The window's link: its frames, its device commands on scripted lines, and
// its serial port on a pseudo-terminal.

#include "frame_decoding.h"
#include "link/answer_frames.h"
#include "link/device_commands.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "link/serial_port.h"
#include "pseudo_terminal.h"
#include "scripted_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnel::link {
namespace {

using namespace std::chrono_literals;
using namespace test;
using Clock = std::chrono::steady_clock;

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

// The window judges answers by their length and time alone.
TEST(DeviceCommands, AnySevenBytesInTimeAnswerAndTheValueZeroCalibrates)
{
    const Bytes anySeven{0x77, 0x77, 0x77, 0x77, 0x77, 0x77, 0x77};
    // Whether a probe with a 200 ms time-out, and a calibration (500 ms), take the answer.
    const struct { const char* name; std::vector<ScriptedLine::Event> events; bool probed, calibrated; } cases[] = {
        {"seven bytes of anything", {{1, 20ms, anySeven}}, true, false},
        {"in bursts", {{1, 20ms, Bytes(3, 0x77)}, {1, 80ms, Bytes(4, 0x77)}}, true, false},
        {"six bytes", {{1, 20ms, Bytes(6, 0x77)}}, false, false},
        {"the value 0", {{1, 20ms, {0x09, 0x04, 0x02, 0x00, 0x00, 0xAB, 0xCD}}}, true, true},
        {"the value 1", {{1, 20ms, {0x09, 0x04, 0x02, 0x00, 0x01, 0xAB, 0xCD}}}, true, false},
        {"the value 0x100", {{1, 20ms, {0x09, 0x04, 0x02, 0x01, 0x00, 0xAB, 0xCD}}}, true, false},
        {"after the probe's time-out", {{1, 300ms, anySeven}}, false, false},
        {"before the request", {{0, 0ms, anySeven}}, false, false},
    };
    for (const auto& c : cases) {
        ScriptedLine probeLine(c.events);
        probeLine.Wait(1ms);
        EXPECT_EQ(ProbeAddress(probeLine, 9, 200), c.probed) << c.name;
        EXPECT_EQ(probeLine.Writes().at(0).bytes, AsBytes(ProbeFrame(9)));
        if (c.probed) {
            const auto arrived = probeLine.Writes()[0].at + c.events.back().at;
            EXPECT_LE(probeLine.Elapsed(), arrived + 4ms) << c.name << ": noticed within two looks";
        } else {
            EXPECT_GE(probeLine.Elapsed(), 201ms) << c.name << ": the full wait";
        }
        ScriptedLine calibrationLine(c.events);
        calibrationLine.Wait(1ms);
        EXPECT_EQ(ZeroCalibrate(calibrationLine, 9), c.calibrated) << c.name;
        EXPECT_EQ(calibrationLine.Writes().at(0).bytes, AsBytes(ZeroCalibrationFrame(9)));
    }
}

// The port opened at 9600 baud.
struct OpenPortTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(port_.IsOpen()); }

    test::PseudoTerminal pty_;
    test::PortsOverride ports_{pty_.SlavePath()};
    platform::SerialLine port_ = OpenPort(1, 3);
};

// The device's own termios, and bytes through it, are the termios test's and
// the window commands'; here, the settings chosen, the lock and the time-outs.
TEST(ControllerLineSettings, TheListedSpeedOrTheReportedOneAndAlways8N1)
{
    const platform::LineSettings reported{38400, 7, true, true, true, false};
    for (const auto& [index, rate] : {std::pair{-1, 38400u}, {0, 1200u}, {4, 19200u}, {5, 38400u}}) {
        EXPECT_EQ(ControllerLineSettings(reported, index), (platform::LineSettings{rate, 8, false, false, false, true}))
            << "index " << index;
    }
}

// Whether an ordinary user's plain open, which takes no flock, gets the
// device: root passes TIOCEXCL, so only another user shows that lock.
bool NobodyOpens(const std::string& device)
{
    const std::string command =
        "setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c ': <> \"$0\"' " + device + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

TEST_F(OpenPortTest, TheOpenPortIsLockedAndAMissingOneSaysSo)
{
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chmod(pty_.SlavePath().c_str(), 0666), 0);
        EXPECT_FALSE(NobodyOpens(pty_.SlavePath())) << "another user opened the port while it was held";
    }
    // Root may open past TIOCEXCL; the flock still keeps it out.
    const int other = ::open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_TRUE(other < 0 ? errno == EBUSY : ::flock(other, LOCK_EX | LOCK_NB) != 0);
    ::close(other);
    platform::OpenFailure failure;
    EXPECT_FALSE(OpenPort(1, 3, &failure).IsOpen());
    EXPECT_EQ(failure.device, pty_.SlavePath());
    EXPECT_EQ(failure.error, std::errc::device_or_resource_busy);
    port_.Close();
    if (root) {
        EXPECT_TRUE(NobodyOpens(pty_.SlavePath())) << "another user cannot open the port once it is closed";
    }
    EXPECT_TRUE(OpenPort(1, 3).IsOpen()) << "closing releases both locks";

    EXPECT_FALSE(OpenPort(2, 3, &failure).IsOpen());
    EXPECT_TRUE(failure.device.empty());
    EXPECT_FALSE(OpenPort("/dev/tarnel-no-such-device", 3, &failure).IsOpen());
    EXPECT_EQ(failure.error, std::errc::no_such_file_or_directory);
}

TEST_F(OpenPortTest, ReadingASilentLineStopsAtTheTotalTimeOut)
{
    Bytes buffer(7);
    const auto start = Clock::now();
    EXPECT_EQ(port_.Read(buffer), 0u);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, 400ms) << "50 ms per byte plus 50";
    EXPECT_LT(waited, 800ms);
}

}  // namespace
}  // namespace tarnel::link
