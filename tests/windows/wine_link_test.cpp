// The Windows build of the link, run under Wine against a Linux
// pseudo-terminal mapped as a COM port, and checked from the master side.
// Wine does not enforce exclusive opens, keeps no abort-on-error and reports
// no line errors, so none of those is checked here.

#include "link/frames.h"
#include "pseudo_terminal.h"
#include "scripted_line.h"
#include "sim_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringDecoder>
#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// A Windows program under Wine, with the test's pseudo-terminal as its COM port.
struct WineLink {
    explicit WineLink(const std::string& slavePath)
        : m_com(10 + static_cast<unsigned>(::getpid() % 80)),
          m_link(fs::path(TARNEL_WINE_PREFIX) / "dosdevices" / ("com" + std::to_string(m_com)))
    {
        fs::remove(m_link);
        fs::create_symlink(slavePath, m_link);
    }

    // The link driver on that port.
    WineLink(const std::string& slavePath, const QStringList& commands) : WineLink(slavePath)
    {
        Start(TARNEL_LINK_DRIVER_EXE, QStringList{QString::number(m_com)} + commands);
    }

    // `program` in a Windows whose language Wine takes from `locale`.
    void Start(const QString& program, const QStringList& args, const QString& locale = "zh_CN.UTF-8")
    {
        QProcessEnvironment environment;
        environment.insert("WINEPREFIX", TARNEL_WINE_PREFIX);
        environment.insert("WINEDEBUG", "-all");
        environment.insert("HOME", TARNEL_WINE_PREFIX);
        // Wine reads LC_ALL also where Linux lacks the locale.
        environment.insert("LC_ALL", locale);
        m_process.setProcessEnvironment(environment);
        m_process.start(TARNEL_WINE, QStringList{program} + args);
    }

    // The port as the tools number it: COMn is port n.
    QString Port() const { return QString::number(m_com); }

    ~WineLink()
    {
        m_process.kill();
        m_process.waitForFinished();
        fs::remove(m_link);
    }

    // What the program printed once it ended, and its errors after when asked.
    std::string Output(int exitCode = 0, bool errors = false)
    {
        EXPECT_TRUE(m_process.waitForFinished(60000));
        EXPECT_EQ(m_process.exitCode(), exitCode);
        // Windows ends its lines with CR LF.
        QByteArray said = m_process.readAllStandardOutput() + (errors ? m_process.readAllStandardError() : "");
        return said.replace('\r', "").toStdString();
    }

    unsigned m_com;
    fs::path m_link;
    QProcess m_process;
};

TEST(WineLink, SetsTheLineSendsTheExactFramesPurgesAndBoundsTheRead)
{
    tarnel::test::PseudoTerminal pty;
    WineLink link(pty.SlavePath(), {"4", "probe", "1", "5000", "pause", "300", "probe", "9", "300", "read"});
    const auto frame = [](unsigned address) { return tarnel::test::AsBytes(tarnel::link::ProbeFrame(address)); };
    EXPECT_EQ(pty.Receive(15s, 8), frame(1));
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.Master(), &tio), 0);
    EXPECT_EQ((std::vector{::cfgetospeed(&tio), tio.c_cflag & (CSIZE | PARENB | CSTOPB), tio.c_lflag & (ECHO | ICANON),
                           tio.c_oflag & OPOST}),
              (std::vector<tcflag_t>{B19200, CS8, 0, 0}));

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

// A pseudo-terminal's slave still locked fails to open (Wine: "invalid
// access to memory location"): the window names it in the system's Chinese,
// in UTF-8 rather than the ANSI code page's GBK, without its full stop.
TEST(WineLink, TellsAnOpenFailureInTheSystemsOwnWordsInUtf8)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    WineLink link(::ptsname(master), {"4"});
    const std::string output = link.Output(3);
    ::close(master);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = QString(utf8(QByteArrayView(output))).trimmed();
    EXPECT_FALSE(utf8.hasError()) << QByteArray::fromStdString(output).toHex(' ').toStdString();
    const QString reason = text.section(u'：', 1);
    EXPECT_TRUE(!reason.isEmpty() && std::ranges::all_of(reason, [](QChar c) {
        return c.script() == QChar::Script_Han;
    })) << output;
}

// tarnel-link.exe speaks the language of Windows' user interface; its
// JSON stays English.
TEST(WineLink, TheToolSpeaksChineseOnAChineseWindows)
{
    tarnel::test::SimProcess sim({"2"});
    const struct { QString locale; QStringList args; int status; std::string says; } cases[] = {
        {"zh_CN.UTF-8", {"scan", "-p", "PORT", "--to", "x"}, 2, "“x”不是 0 到 255 之间的十进制数"},
        {"zh_CN.UTF-8", {"scan", "-p", "PORT", "--to", "3", "--listen", "0"}, 0, "找到地址 2，波特率 9600"},
        {"zh_CN.UTF-8", {"scan", "-p", "PORT", "--to", "3", "--listen", "0", "--json"}, 0, "\"valid reply\""},
        {"en_US.UTF-8", {"scan", "-p", "PORT", "--to", "3", "--listen", "0"}, 0, "found 2 at 9600 baud"},
    };
    for (const auto& c : cases) {
        WineLink link(sim.DevicePath());
        QStringList args = c.args;
        args.replaceInStrings("PORT", link.Port());
        link.Start(TARNEL_LINK_EXE, args, c.locale);
        EXPECT_THAT(link.Output(c.status, true), ::testing::HasSubstr(c.says)) << c.locale.toStdString();
    }
}

}  // namespace
