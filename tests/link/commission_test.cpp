// tarnel-link commission on a simulated bus: its rules are the site's
// table's; here, the terminal's side of a visit, and a record refused.

#include "platform/whole_file.h"
#include "scripted_line.h"
#include "sim_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

using namespace tarnel::test;
using ::testing::HasSubstr;
using Strings = std::vector<std::string>;

Strings Commission(const SimProcess& sim, const QString& record, const Strings& more)
{
    return Joined(Strings{"commission", "-p", sim.DevicePath(), "--timeout", "50", "--factory", "1", "--first", "10",
                          "--record", record.toStdString()},
                  more);
}

std::string Text(const QString& path)
{
    std::error_code error;
    return tarnel::platform::ReadWholeFile(path.toStdString(), error).value_or("(none)");
}

// A visit as the terminal has it, the rope answered by nobody at the
// keyboard, and its row on the disk.
TEST(Commission, AControllerCommissionedFromATerminal)
{
    QTemporaryDir folder;
    const QString record = folder.filePath("site.csv");
    SimProcess sim({"10"});
    LinkProcess visit(Commission(sim, record, {"--calibrate", "--count", "1"}), {"LANG=zh_CN.UTF-8"});
    ASSERT_TRUE(visit.Says("请接入下一台控制器")) << visit.Output();
    sim.Tell("add 1");
    EXPECT_EQ(visit.Finish().status, 4);
    EXPECT_THAT(visit.Output(), HasSubstr("地址 10 已有应答，且不在记录中：跳过"));
    EXPECT_THAT(visit.Output(), HasSubstr("水浸绳不在水中（读数 0x0001）：请贴标签 11"));
    const QStringList lines = QString::fromStdString(Text(record)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << Text(record);
    EXPECT_EQ(lines[0].toStdString(), "time,address,baud,from,outcome,calibration,response_ms");
    EXPECT_EQ(lines[1].section(',', 1, 5).toStdString(), "11,9600,1,moved,rope dry (value 0x0001)");
}

// Root writes anywhere: an ordinary user shows what a folder without write
// permission does.
TEST(Commission, ARecordThatCannotBeWrittenOrIsNotOursIsRefusedBeforeAnythingIsSent)
{
    QTemporaryDir folder;
    SimProcess sim({"1"});
    const std::string args = " commission -p " + sim.DevicePath() + " --factory 1 --first 10 --record ";
    ASSERT_EQ(std::system(("chmod 0755 " + folder.path().toStdString() + "; chmod 0666 " + sim.DevicePath()).c_str()),
              0);
    const int readOnlyFolder = std::system(("setpriv --reuid=nobody --regid=nogroup --clear-groups " +
                                            LinkProcess::Path() + args + folder.filePath("site.csv").toStdString() +
                                            " 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(readOnlyFolder), 2);
    EXPECT_EQ(Text(folder.filePath("site.csv")), "(none)");

    const QString notOurs = folder.filePath("notes.csv");
    ASSERT_FALSE(tarnel::platform::WriteWholeFile(notOurs.toStdString(), "name,phone\nhall,123\n"));
    const auto foreign = LinkTool(Commission(sim, notOurs, {}));
    EXPECT_EQ(foreign.status, 2);
    EXPECT_THAT(foreign.err, HasSubstr("is no commissioning record: it does not begin with the line time,address,"));
    EXPECT_EQ(Text(notOurs), "name,phone\nhall,123\n");
    EXPECT_TRUE(sim.Requests().empty());
}

}  // namespace
