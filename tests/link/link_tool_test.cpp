// tarnel-link run for real against tarnel-sim on pseudo-terminals: what only
// a whole program on a real line shows.

#include "link/frames.h"
#include "pseudo_terminal.h"
#include "scripted_line.h"
#include "sim_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
using tarnel::link::ProbeFrame;
using namespace tarnel::test;
using ::testing::HasSubstr;

// "address@baud reply" for each controller of a JSON result.
Strings Controllers(const std::string& json)
{
    Strings found;
    for (const QJsonValue& value : QJsonDocument::fromJson(QByteArray::fromStdString(json))["controllers"].toArray()) {
        const QJsonObject c = value.toObject();
        found.push_back(std::to_string(c["address"].toInt()) + "@" + std::to_string(c["baud"].toInt()) + " " +
                        c["reply"].toString().toStdString());
    }
    return found;
}

// What each line of `text` says after `mark`.
Strings After(const std::string& text, const char* mark)
{
    Strings lines;
    for (const QString& line : QString::fromStdString(text).split('\n', Qt::SkipEmptyParts)) {
        lines.push_back(line.section(QString::fromUtf8(mark), 1).toStdString());
    }
    return lines;
}

// People read the language the locale asks for, in glibc's order; machines
// read English whatever it is.
TEST(LinkTool, SpeaksTheLocalesLanguageToPeopleOnly)
{
    SimProcess sim({"2", "1", "1"});
    const std::string p = sim.DevicePath();
    const Strings chinese{"LANG=zh_CN.UTF-8"};
    const Strings scan{"scan", "-p", p, "--from", "2", "--to", "3", "--listen", "0"};
    const Strings doctor{"doctor", "-p", p, "--to", "1", "--listen", "0", "--timeout", "50"};
    const struct { Strings language, args; int status; std::string says; } cases[] = {
        {chinese, {"--help"}, 0, "用法: tarnel-link [选项] 命令"},
        {chinese, {"scan", "-p", p, "--from", "x"}, 2, "--from: “x”不是 0 到 255 之间的十进制数"},
        {chinese, scan, 0, "找到地址 2，波特率 9600"},
        {chinese, doctor, 8, "地址 1 的应答有 5 次（共 5 次）损坏"},
        {chinese, Joined(doctor, {"--json"}), 8,
         "\"detail\": \"address 1 answers corrupt 5 times of 5, garbled as two answers at once\""},
        {{"LANG=zh_CN.UTF-8", "LC_MESSAGES=C"}, {"scan"}, 2, "--port is required"},
        {{"LANG=C.UTF-8", "LANGUAGE=zh_CN"}, {"scan"}, 2, "缺少 --port"},
        // LANGUAGE counts only in a locale other than C; a missing locale is C.
        {{"LANG=C", "LANGUAGE=zh_CN"}, {"scan"}, 2, "--port is required"},
        {{"LANG=zh_CN.UTF-8@missing", "LANGUAGE=zh_CN"}, {"scan"}, 2, "--port is required"},
    };
    for (const auto& c : cases) {
        const auto run = LinkTool(c.args, c.language);
        EXPECT_EQ(run.status, c.status) << c.args.front();
        EXPECT_THAT(run.out + run.err, HasSubstr(c.says)) << c.language.front() << " " << c.args.front();
    }
}

// Controllers on a line with real timing: a request begun less than 3.5
// characters after the last traffic goes unheard, and the speed sets how
// long every frame takes.
TEST(LinkToolScan, FindsEachControllerAtItsOwnAddressAndSpeed)
{
    const struct { const char* name; Strings controllers, args, found; } cases[] = {
        {"every speed", {"5,baud=1200", "6,baud=19200", "7,baud=4800,bad-crc", "8"},
         {"--all", "--baud", "all", "--from", "5", "--to", "8"},
         {"8@9600 valid reply", "6@19200 valid reply", "7@4800 corrupt answer", "5@1200 valid reply"}},
        {"adjacent at 1200", {"5", "6"}, {"--all", "--baud", "1200", "--from", "4", "--to", "7"},
         {"5@1200 valid reply", "6@1200 valid reply"}},
    };
    for (const auto& c : cases) {
        SimProcess sim(Joined({"--line-time"}, c.controllers));
        const auto run = LinkTool(Joined({"scan", "-p", sim.DevicePath(), "--timeout", "50", "--json"}, c.args));
        EXPECT_EQ(Controllers(run.out), c.found) << c.name << "\n" << run.err;
        EXPECT_EQ(run.status, 0) << c.name;
    }
}

TEST(LinkToolScan, CtrlCEndsTheWaitAtOnceWithWhatWasFound)
{
    SimProcess sim({"0", "1"});
    LinkProcess tool({"scan", "-p", sim.DevicePath(), "--all", "--json", "--timeout", "5000"});
    // In the wait for an answer from 2.
    while (sim.Probes() < 3) {
        std::this_thread::sleep_for(10ms);
    }
    tool.Interrupt();
    const auto start = std::chrono::steady_clock::now();
    const auto run = tool.Finish();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(Controllers(run.out), (Strings{"0@9600 valid reply", "1@9600 valid reply"}));
    EXPECT_TRUE(QJsonDocument::fromJson(QByteArray::fromStdString(run.out))["partial"].toBool()) << run.out;
}

TEST(LinkToolScan, AnAdapterThatOnlyEchoesIsNamed)
{
    SimProcess sim({"--echo", "200"});
    const auto run = LinkTool({"scan", "-p", sim.DevicePath(), "--to", "3", "--timeout", "50", "--listen", "0"});
    EXPECT_EQ(run.status, 6);
    EXPECT_THAT(run.err, HasSubstr("Every probe came back as an exact echo"));
}

// At 1200 baud a controller's answer comes byte by byte; the trace shows
// each frame once, whole.
TEST(LinkTool, TheTracePrintsEachFrameOnceItIsWhole)
{
    SimProcess sim({"--line-time", "17,wet"});
    const auto run = LinkTool({"calibrate", "-p", sim.DevicePath(), "-b", "1200", "--trace", "17"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(After(run.err, " ms "),
              (Strings{"-> 11 04 40 08 00 01 A7 58  (address 17, read input register 0x4008 x1, check good)",
                       "<- 11 04 02 00 00 78 F3  (address 17, register value 0x0000, check good)"}))
        << run.err;
}

// The doctor on a real line; every finding has its row in the sweep's table.
TEST(LinkTool, TheDoctorGivesNoVerdictWhenTheAdapterGoesAway)
{
    SimProcess sim({"5"});
    LinkProcess doctor({"doctor", "-p", sim.DevicePath(), "--timeout", "50", "--listen", "0"});
    while (sim.Probes() < 20) {
        std::this_thread::sleep_for(10ms);
    }
    sim.HangUp();
    const auto lost = doctor.Finish();
    EXPECT_EQ(lost.status, 3);
    EXPECT_EQ(lost.out, "");
    EXPECT_THAT(lost.err, HasSubstr("the device went away"));
}

TEST(LinkTool, MonitorPrintsEachFrameOnceSendsNothingAndSumsUpOnCtrlC)
{
    PseudoTerminal pty;
    LinkProcess tool({"monitor", "-p", pty.SlavePath()});
    std::this_thread::sleep_for(300ms);
    const Bytes probe = AsBytes(ProbeFrame(5));
    Bytes bad = probe;
    bad.back() ^= 0xFF;
    for (const auto& frame : {probe, bad, ValueReply(5)}) {
        pty.Send(frame);
        std::this_thread::sleep_for(50ms);
    }
    tool.Interrupt();
    const auto run = tool.Finish();
    EXPECT_EQ(run.status, 130);
    EXPECT_TRUE(pty.Receive(50ms).empty()) << "the monitor wrote to the line";
    EXPECT_EQ(After(run.out, "ms  "),
              (Strings{"05 04 40 02 00 01 84 4E  (address 5, read input register 0x4002 x1, check good)",
                       "05 04 40 02 00 01 84 B1  (address 5, read input register 0x4002 x1, check bad)",
                       "05 04 02 00 00 48 F0  (address 5, register value 0x0000, check good)"}))
        << run.out;
    EXPECT_THAT(run.err, HasSubstr(" s, 1 with a bad check, 0 gaps shorter than 3.5 characters\naddress 5: 3 frames ("));
}

}  // namespace
