// tarnel-link commission on a simulated bus: its rules are the site's
// table's; here, the terminal's side of a visit, and a record refused.

#include "link_process.h"
#include "sim_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

using tarnel::test::LinkProcess;
using tarnel::test::SimProcess;
using ::testing::HasSubstr;
using Strings = std::vector<std::string>;

Strings Commission(const SimProcess& sim, const QString& record, const Strings& more)
{
    Strings args{"commission", "-p", sim.DevicePath(), "--timeout", "50", "--factory", "1", "--first", "10",
                 "--record", record.toStdString()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// "address,from,outcome,calibration" of each row.
Strings Rows(const QString& record)
{
    QFile file(record);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), "time,address,baud,from,outcome,calibration,response_ms");
    Strings rows;
    for (const QString& line : lines.mid(1)) {
        const QStringList fields = line.split(',');
        rows.push_back((QStringList{fields[1], fields[3], fields[4], fields[5]}).join(',').toStdString());
    }
    return rows;
}

TEST(Commission, ASiteVisitAndTheNextOne)
{
    QTemporaryDir folder;
    const QString record = folder.filePath("site.csv");
    SimProcess sim({"11"});

    LinkProcess first(Commission(sim, record, {"--count", "2"}));
    for (const char* label : {"label it 10", "label it 12"}) {
        ASSERT_TRUE(first.Says("connect the next controller (it answers at 1)")) << first.Output();
        sim.Tell("add 1");
        ASSERT_TRUE(first.Says(label)) << first.Output();
    }
    EXPECT_EQ(first.Finish().status, 0);
    EXPECT_THAT(first.Output(), HasSubstr("11 already answers and is not in the record: skipped"));
    EXPECT_EQ(Rows(record), (Strings{"10,1,moved,not asked", "12,1,moved,not asked"}));

    // The next visit goes on after 12, and a person answers for the rope;
    // Ctrl-C leaves the record whole.
    LinkProcess next(Commission(sim, record, {"--calibrate"}), {"LANG=zh_CN.UTF-8"});
    ASSERT_TRUE(next.Says("请接入下一台控制器")) << next.Output();
    sim.Tell("add 1");
    ASSERT_TRUE(next.Says("水浸绳不在水中（读数 0x0001）：请贴标签 13")) << next.Output();
    next.Interrupt();
    EXPECT_EQ(next.Finish().status, 130);
    EXPECT_EQ(Rows(record).back(), "13,1,moved,rope dry (value 0x0001)");
}

// Root writes anywhere: an ordinary user shows what a folder without write
// permission does.
TEST(Commission, ARecordThatCannotBeWrittenOrIsNotOursIsRefusedBeforeAnythingIsSent)
{
    QTemporaryDir folder;
    SimProcess sim({"1"});
    const std::string link = tarnel::test::LinkPath();
    const std::string args = " commission -p " + sim.DevicePath() + " --factory 1 --first 10 --record ";
    ASSERT_EQ(std::system(("chmod 0755 " + folder.path().toStdString() + "; chmod 0666 " + sim.DevicePath()).c_str()),
              0);
    const int readOnlyFolder = std::system(("setpriv --reuid=nobody --regid=nogroup --clear-groups " + link + args +
                                            folder.filePath("site.csv").toStdString() + " 2>/dev/null")
                                               .c_str());
    EXPECT_EQ(WEXITSTATUS(readOnlyFolder), 2);
    EXPECT_FALSE(QFile::exists(folder.filePath("site.csv")));

    const QString notOurs = folder.filePath("notes.csv");
    QFile file(notOurs);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("name,phone\nhall,123\n");
    file.close();
    const auto foreign = tarnel::test::LinkTool(Commission(sim, notOurs, {}));
    EXPECT_EQ(foreign.status, 2);
    EXPECT_THAT(foreign.err, HasSubstr("is no commissioning record: it does not begin with the line time,address,"));
    QFile after(notOurs);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), "name,phone\nhall,123\n");
    EXPECT_TRUE(sim.Requests().empty());
}

}  // namespace
