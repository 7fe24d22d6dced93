#include "link/serial_port.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnel::link {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

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
