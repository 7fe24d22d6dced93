// The Windows build of the link, run under Wine against a Linux
// pseudo-terminal mapped as a COM port. Checked from the master side: line
// settings, the exact frame, the purge, the queue count and the read bound.
// Wine does not enforce exclusive opens, keeps no abort-on-error and reports
// no line errors, so none of those is checked here.

#include "link/frames.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

// tarnel-link.exe under Wine, with the test's pseudo-terminal as its COM port.
class WineLink {
public:
    WineLink(const std::string& slavePath, const std::vector<std::string>& commands)
    {
        m_comNumber = 10 + static_cast<unsigned>(::getpid() % 80);
        m_link = fs::path(TARNEL_WINE_PREFIX) / "dosdevices" / ("com" + std::to_string(m_comNumber));
        fs::remove(m_link);
        fs::create_symlink(slavePath, m_link);

        std::vector<std::string> args{TARNEL_WINE, TARNEL_WINDOWS_LINK_EXE, std::to_string(m_comNumber)};
        args.insert(args.end(), commands.begin(), commands.end());
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        std::vector<std::string> env{"WINEPREFIX=" TARNEL_WINE_PREFIX, "WINEDEBUG=-all", "HOME=" TARNEL_WINE_PREFIX};
        std::vector<char*> envp;
        for (auto& entry : env) {
            envp.push_back(entry.data());
        }
        envp.push_back(nullptr);

        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        ::posix_spawn_file_actions_addclose(&actions, out[0]);
        EXPECT_EQ(::posix_spawn(&m_pid, TARNEL_WINE, &actions, nullptr, argv.data(), envp.data()), 0);
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        m_stdout = out[0];
    }

    ~WineLink()
    {
        ::close(m_stdout);
        fs::remove(m_link);
    }

    // Waits for the program to end and returns what it printed.
    std::string Output()
    {
        std::string text;
        char buffer[512];
        ssize_t n;
        while ((n = ::read(m_stdout, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
        ::waitpid(m_pid, nullptr, 0);
        return text;
    }

private:
    unsigned m_comNumber = 0;
    fs::path m_link;
    pid_t m_pid = -1;
    int m_stdout = -1;
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
