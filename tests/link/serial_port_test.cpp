#include "link/serial_port.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <chrono>
#include <fcntl.h>
#include <numeric>
#include <sys/file.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tarnel::link {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

class SerialPortTest : public ::testing::Test {
protected:
    termios SlaveSettings() const
    {
        termios tio{};
        // On Linux the termios calls on a master act on its slave.
        EXPECT_EQ(::tcgetattr(pty_.Master(), &tio), 0);
        return tio;
    }

    test::PseudoTerminal pty_;
    test::PortsOverride ports_{pty_.SlavePath()};
};

// The port opened at 9600 baud.
class OpenPortTest : public SerialPortTest {
protected:
    void SetUp() override { ASSERT_TRUE(port_.IsOpen()); }

    platform::SerialLine port_ = OpenPort(1, 3);
};

TEST(ControllerLineSettings, TheListedSpeedOrTheReportedOneAndAlways8N1)
{
    const platform::LineSettings reported{38400, 7, true, true, true, false};
    for (const auto& [index, rate] : {std::pair{-1, 38400u}, {0, 1200u}, {4, 19200u}, {5, 38400u}}) {
        EXPECT_EQ(ControllerLineSettings(reported, index), (platform::LineSettings{rate, 8, false, false, false, true}))
            << "index " << index;
    }
}

// A pseudo-terminal takes any speed, stop bits and flow control, but refuses
// anything but 8 data bits without parity: those are checked where the
// settings are chosen and translated.
TEST_F(SerialPortTest, OpenSetsTheListedSpeedOrKeepsTheReportedOneOnTheDevice)
{
    termios reported = SlaveSettings();
    ::cfsetspeed(&reported, B38400);
    reported.c_cflag |= CSTOPB | CRTSCTS;
    const std::pair<int, speed_t> cases[] = {{-1, B38400}, {0, B1200}, {1, B2400}, {2, B4800}, {3, B9600}, {4, B19200}};
    for (const auto& [index, speed] : cases) {
        ASSERT_EQ(::tcsetattr(pty_.Master(), TCSANOW, &reported), 0);
        ASSERT_EQ(SlaveSettings().c_cflag & (CSTOPB | CRTSCTS), static_cast<tcflag_t>(CSTOPB | CRTSCTS));
        platform::SerialLine port = OpenPort(1, index);
        ASSERT_TRUE(port.IsOpen());
        const termios tio = SlaveSettings();
        EXPECT_EQ(::cfgetospeed(&tio), speed) << "index " << index;
        EXPECT_EQ(::cfgetispeed(&tio), speed) << "index " << index;
        EXPECT_EQ(tio.c_cflag & (CSTOPB | CRTSCTS | CLOCAL | CREAD), static_cast<tcflag_t>(CRTSCTS | CLOCAL | CREAD));
        EXPECT_EQ(tio.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
    }
}

TEST_F(OpenPortTest, EveryByteValuePassesUntouchedBothWays)
{
    Bytes all(256);
    std::iota(all.begin(), all.end(), 0);
    port_.Write(all);
    EXPECT_EQ(pty_.Receive(1s, all.size()), all);

    pty_.Send(all);
    Bytes echoed(all.size());
    echoed.resize(port_.Read(echoed));
    EXPECT_EQ(echoed, all);
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
