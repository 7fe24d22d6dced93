// The Windows build of the link, run under Wine against a Linux
// pseudo-terminal mapped as a COM port, and checked from the master side.
// Wine does not enforce exclusive opens, keeps no abort-on-error and reports
// no line errors, so none of those is checked here.

#include "link/frames.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The link driver under Wine, with the test's pseudo-terminal as its COM port.
class WineLink {
public:
    WineLink(const std::string& slavePath, const QStringList& commands)
    {
        const unsigned com = 10 + static_cast<unsigned>(::getpid() % 80);
        m_link = fs::path(TARNEL_WINE_PREFIX) / "dosdevices" / ("com" + std::to_string(com));
        fs::remove(m_link);
        fs::create_symlink(slavePath, m_link);
        QProcessEnvironment environment;
        environment.insert("WINEPREFIX", TARNEL_WINE_PREFIX);
        environment.insert("WINEDEBUG", "-all");
        environment.insert("HOME", TARNEL_WINE_PREFIX);
        m_process.setProcessEnvironment(environment);
        m_process.start(TARNEL_WINE, QStringList{TARNEL_LINK_DRIVER_EXE, QString::number(com)} + commands);
    }

    ~WineLink()
    {
        m_process.kill();
        m_process.waitForFinished();
        fs::remove(m_link);
    }

    // Waits for the program to end and returns what it printed.
    std::string Output()
    {
        EXPECT_TRUE(m_process.waitForFinished(60000));
        EXPECT_EQ(m_process.exitCode(), 0);
        // Windows ends its lines with CR LF.
        return m_process.readAllStandardOutput().replace('\r', "").toStdString();
    }

private:
    fs::path m_link;
    QProcess m_process;
};

TEST(WineLink, SetsTheLineSendsTheExactFramesPurgesAndBoundsTheRead)
{
    tarnel::test::PseudoTerminal pty;
    WineLink link(pty.SlavePath(), {"4", "probe", "1", "5000", "pause", "300", "probe", "9", "300", "read"});
    const auto frame = [](unsigned address) {
        const auto probe = tarnel::link::ProbeFrame(address);
        return std::vector<std::uint8_t>(probe.begin(), probe.end());
    };
    EXPECT_EQ(pty.Receive(15s, 8), frame(1));
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.Master(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B19200));
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_lflag & (ECHO | ICANON), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);

    pty.Send({0x01, 0x04, 0x02, 0x00, 0x00, 0xB9, 0x30});
    // Seven bytes nobody asked for, queued while the line is left alone:
    // the next probe purges them, and then nothing answers it.
    std::this_thread::sleep_for(50ms);
    pty.Send({0x09, 0x04, 0x02, 0x00, 0x00, 0x12, 0x34});
    EXPECT_EQ(pty.Receive(15s, 8), frame(9));
    const std::string output = link.Output();
    EXPECT_NE(output.find("probe 1 answered\npaused\nprobe 9 silent\n"), std::string::npos)
        << "the queued bytes were not purged\n" << output;
    // The line is silent: the read's time-outs end it.
    const auto silent = output.find("\nread 0 bytes after ");
    ASSERT_NE(silent, std::string::npos) << output;
    const unsigned long ms = std::stoul(output.substr(silent + 20));
    EXPECT_GE(ms, 380u);
    EXPECT_LT(ms, 800u);
}

}  // namespace
