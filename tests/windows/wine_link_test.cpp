// The Windows build of the link, run under Wine against a Linux
// pseudo-terminal mapped as a COM port. Checked from the master side: line
// settings, the exact frame, the purge, the queue count and the read bound.
// Wine does not enforce exclusive opens, keeps no abort-on-error and reports
// no line errors, so none of those is checked here.

#include "link/frames.h"
#include "child_process.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// tarnel-link.exe under Wine, with the test's pseudo-terminal as its COM port.
class WineLink {
public:
    WineLink(const std::string& slavePath, const std::vector<std::string>& commands)
        : m_link(ComLink(slavePath)), m_process(Command(commands), {"WINEPREFIX=" TARNEL_WINE_PREFIX, "WINEDEBUG=-all",
                                                                 "HOME=" TARNEL_WINE_PREFIX})
    {
    }

    ~WineLink() { fs::remove(m_link); }

    // Waits for the program to end and returns what it printed.
    std::string Output() { return m_process.ReadToEnd(); }
    int Status() const { return m_process.Status(); }

private:
    static unsigned ComNumber() { return 10 + static_cast<unsigned>(::getpid() % 80); }

    static fs::path ComLink(const std::string& slavePath)
    {
        const fs::path link = fs::path(TARNEL_WINE_PREFIX) / "dosdevices" / ("com" + std::to_string(ComNumber()));
        fs::remove(link);
        fs::create_symlink(slavePath, link);
        return link;
    }

    static std::vector<std::string> Command(const std::vector<std::string>& commands)
    {
        std::vector<std::string> args{TARNEL_WINE, TARNEL_WINDOWS_LINK_EXE, "raw", std::to_string(ComNumber())};
        args.insert(args.end(), commands.begin(), commands.end());
        return args;
    }

    fs::path m_link;
    tarnel::test::ChildProcess m_process;
};

// True once the program has opened the port and made it raw at `speed`.
bool WaitUntilConfigured(const tarnel::test::PseudoTerminal& pty, speed_t speed)
{
    for (int i = 0; i < 300; ++i) {
        termios tio{};
        if (::tcgetattr(pty.Master(), &tio) == 0 && ::cfgetospeed(&tio) == speed && !(tio.c_lflag & ICANON)) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

template <std::size_t N>
Bytes AsBytes(const std::array<std::uint8_t, N>& frame)
{
    return {frame.begin(), frame.end()};
}

TEST(WineLink, OpensWithTheLineSettingsAndSendsTheExactFrame)
{
    tarnel::test::PseudoTerminal pty;
    WineLink link(pty.SlavePath(), {"4", "settings", "probe", "5", "5000"});
    EXPECT_EQ(pty.Receive(15s, 8), AsBytes(tarnel::link::ProbeFrame(5)));

    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.Master(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B19200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), 0u);
    EXPECT_EQ(tio.c_lflag & (ECHO | ICANON), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);

    pty.Send({0x05, 0x04, 0x02, 0x00, 0x00, 0xAA, 0xBB});
    const std::string output = link.Output();
    EXPECT_NE(output.find("settings read baud=19200 data=8 parity=0 two-stop=0 parity-check=0"), std::string::npos)
        << output;
    EXPECT_NE(output.find("probe 5 answered"), std::string::npos) << output;
    EXPECT_EQ(link.Status(), 0);
}

TEST(WineLink, PurgesStaleBytesAndCountsTheQueueUpToSeven)
{
    tarnel::test::PseudoTerminal pty;
    WineLink link(pty.SlavePath(), {"3", "wait", "3", "10000", "probe", "9", "5000", "wait", "10", "300"});
    ASSERT_TRUE(WaitUntilConfigured(pty, B9600));
    pty.Send({0xEE, 0xEE, 0xEE});
    EXPECT_EQ(pty.Receive(15s, 8), AsBytes(tarnel::link::ProbeFrame(9))) << "only the frame, nothing stale";
    pty.Send({0x09, 0x04, 0x02});
    std::this_thread::sleep_for(30ms);
    pty.Send({0x00, 0x00, 0x12, 0x34});
    const std::string output = link.Output();
    EXPECT_NE(output.find("wait queued=3 "), std::string::npos) << output;
    EXPECT_NE(output.find("probe 9 answered"), std::string::npos) << output;
    EXPECT_NE(output.find("wait queued=7 "), std::string::npos) << "the stale bytes were purged\n" << output;
    EXPECT_EQ(link.Status(), 0);
}

TEST(WineLink, AReadOfASilentLineEndsAfterAbout400Ms)
{
    tarnel::test::PseudoTerminal pty;
    WineLink link(pty.SlavePath(), {"3", "read"});
    const std::string output = link.Output();
    unsigned got = 99;
    unsigned ms = 0;
    const auto at = output.find("read ");
    ASSERT_NE(at, std::string::npos) << output;
    ASSERT_EQ(std::sscanf(output.c_str() + at, "read %u bytes after %u ms", &got, &ms), 2) << output;
    EXPECT_EQ(got, 0u);
    EXPECT_GE(ms, 380u);
    EXPECT_LT(ms, 800u);
}

}  // namespace
