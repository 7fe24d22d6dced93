#include "link/frames.h"
#include "pseudo_terminal.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

void Start(QProcess& tool, const Strings& args)
{
    QStringList list;
    for (const std::string& arg : args) {
        list << QString::fromStdString(arg);
    }
    tool.start(TARNEL_LINK_PATH, list);
    ASSERT_TRUE(tool.waitForStarted());
}

// What a finished tarnel-link printed on standard output, and its exit status.
std::pair<std::string, int> Finish(QProcess& tool)
{
    EXPECT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    return {tool.readAllStandardOutput().toStdString(), tool.exitCode()};
}

std::pair<std::string, int> LinkTool(const Strings& args)
{
    QProcess tool;
    Start(tool, args);
    return Finish(tool);
}

// "address@baud reply" for each controller in a JSON result.
Strings Controllers(const std::string& json)
{
    Strings found;
    for (const QJsonValue& value : QJsonDocument::fromJson(QByteArray::fromStdString(json)).array()) {
        const QJsonObject c = value.toObject();
        found.push_back(std::to_string(c["address"].toInt()) + "@" + std::to_string(c["baud"].toInt()) + " " +
                        c["reply"].toString().toStdString());
    }
    return found;
}

TEST(LinkToolScan, FindsEveryControllerAtItsSpeedOrStopsAtTheFirst)
{
    tarnel::test::SimProcess sim({"5,baud=4800", "17,baud=19200", "30,baud=4800,bad-crc", "31"});
    tarnel::test::PortsOverride ports(sim.DevicePath());
    const auto [all, status] =
        LinkTool({"scan", "-p", "1", "--all", "--baud", "all", "--to", "31", "--timeout", "20", "--json"});
    EXPECT_EQ(status, 0);
    // 31 answers at any speed and is listed once, at the first.
    EXPECT_EQ(Controllers(all),
              (Strings{"31@9600 valid reply", "17@19200 valid reply", "5@4800 valid reply", "30@4800 not a valid reply"}));

    const auto [first, firstStatus] = LinkTool({"scan", "-p", sim.DevicePath(), "-b", "4800", "--timeout", "20"});
    EXPECT_EQ(firstStatus, 0);
    EXPECT_NE(first.find("      5   4800  valid reply"), std::string::npos) << first;
    EXPECT_EQ(sim.ProbedAddresses().back(), 5) << "nothing probed after the first answer";

    EXPECT_EQ(LinkTool({"scan", "-p", "1", "--from", "6", "--to", "8", "--timeout", "20"}), std::make_pair(std::string(), 1));
}

TEST(LinkToolScan, CtrlCStopsAtOnceWithWhatWasFound)
{
    tarnel::test::SimProcess sim({"2"});
    QProcess tool;
    Start(tool, {"scan", "-p", sim.DevicePath(), "--all", "--json", "--timeout", "50"});
    std::this_thread::sleep_for(500ms);
    ::kill(static_cast<pid_t>(tool.processId()), SIGINT);
    const auto start = std::chrono::steady_clock::now();
    const auto [json, status] = Finish(tool);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_EQ(status, 130);
    EXPECT_EQ(Controllers(json), Strings{"2@9600 valid reply"});
    EXPECT_LT(sim.ProbedAddresses().size(), 20u);
}

TEST(LinkTool, BadCommandLinesOpenNothingAndSendNothing)
{
    tarnel::test::SimProcess sim({"1"});
    const std::string port = sim.DevicePath();
    for (const auto& args : std::vector<Strings>{
             {"scan", "-p", port, "--from", "256"},
             {"scan", "-p", port, "--from", "9", "--to", "3"},
             {"scan", "-p", port, "--timeout", "19"},
             {"scan", "-p", port, "--baud", "300"},
             {"set-address", "-p", port, "1", "300"},
             {"set-address", "-p", port, "--baud", "all", "1", "2"},
             {"calibrate", "-p", port, "-1"},
             {"scan", "-p", "0"},
             {"scan"},
             {"raw", "1", "3", "probe", "5", "250", "bogus"},
         }) {
        EXPECT_EQ(LinkTool(args), std::make_pair(std::string(), 2)) << args[0] << " " << args.back();
    }
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(sim.Requests().empty());
    EXPECT_EQ(LinkTool({"scan", "-p", "/dev/tarnel-no-such-port"}).second, 3);
}

TEST(LinkTool, SetAddressVerifiesTheMoveAndCalibrationJudgesTheValue)
{
    tarnel::test::PseudoTerminal pty;
    // A device that answers the change of address and then stays silent.
    std::thread device([&] {
        pty.Receive(5s, 10);
        pty.Send({0x05, 0x06, 0x80, 0x01, 0x00, 0x09, 0x30, 0x48});
    });
    const auto moved = LinkTool({"set-address", "-p", pty.SlavePath(), "5", "9", "--verify", "--timeout", "50"});
    device.join();
    EXPECT_EQ(moved, std::make_pair(std::string("set-address 5 -> 9: answered\n"
                                                "verify: nothing answers at the new address: not moved\n"),
                                    1));

    tarnel::test::SimProcess sim({"17,wet", "18"});
    EXPECT_EQ(LinkTool({"calibrate", "-p", sim.DevicePath(), "17"}),
              std::make_pair(std::string("calibrate 17: confirmed\n"), 0));
    EXPECT_EQ(LinkTool({"calibrate", "-p", sim.DevicePath(), "18"}),
              std::make_pair(std::string("calibrate 18: failed\n"), 1));
}

TEST(LinkTool, MonitorPrintsEachFrameOnceAndSendsNothing)
{
    tarnel::test::PseudoTerminal pty;
    QProcess tool;
    Start(tool, {"monitor", "-p", pty.SlavePath()});
    std::this_thread::sleep_for(300ms);
    const auto probe = tarnel::link::ProbeFrame(5);
    std::vector<std::uint8_t> bad(probe.begin(), probe.end());
    bad.back() ^= 0xFF;
    for (const auto& frame : {std::vector<std::uint8_t>(probe.begin(), probe.end()), bad,
                              std::vector<std::uint8_t>{0x05, 0x04, 0x02, 0x00, 0x00, 0x48, 0xF0}}) {
        pty.Send(frame);
        std::this_thread::sleep_for(50ms);
    }
    ::kill(static_cast<pid_t>(tool.processId()), SIGINT);
    const auto [output, status] = Finish(tool);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(pty.Receive(50ms).empty()) << "the monitor wrote to the line";
    Strings lines;
    for (const QString& line : QString::fromStdString(output).split('\n', Qt::SkipEmptyParts)) {
        lines.push_back(line.section(QStringLiteral("ms  "), 1).toStdString());
    }
    EXPECT_EQ(lines, (Strings{"05 04 40 02 00 01 84 4E  (address 5, read input register 0x4002 x1, check good)",
                              "05 04 40 02 00 01 84 B1  (address 5, read input register 0x4002 x1, check bad)",
                              "05 04 02 00 00 48 F0  (address 5, register value 0x0000, check good)"}))
        << output;
}

}  // namespace
