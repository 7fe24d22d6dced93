#include "sim_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstdlib>

namespace {

using tarnel::test::SimProcess;
using ::testing::HasSubstr;
using Strings = std::vector<std::string>;

// tarnel-link commission on a simulated bus, its output read as it comes.
class Commission {
public:
    Commission(const SimProcess& sim, const QString& record, const QStringList& more)
    {
        tool_.setProcessEnvironment(tarnel::test::Language());
        tool_.start(TARNEL_LINK_PATH, QStringList{"commission", "-p", QString::fromStdString(sim.DevicePath()),
                                                  "--timeout", "50", "--factory", "1", "--first", "10",
                                                  "--record", record} +
                                          more);
        tool_.closeWriteChannel();
    }

    // Waits for `text` in what it printed.
    bool Says(const std::string& text, int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (output_.find(text) == std::string::npos && timer.elapsed() < ms) {
            tool_.waitForReadyRead(50);
            output_ += tool_.readAllStandardOutput().toStdString();
        }
        return output_.find(text) != std::string::npos;
    }

    int Status()
    {
        EXPECT_TRUE(tool_.waitForFinished(10000));
        output_ += tool_.readAllStandardOutput().toStdString();
        return tool_.exitCode();
    }

    void Interrupt() { ::kill(static_cast<pid_t>(tool_.processId()), SIGINT); }

    const std::string& Output() const { return output_; }

private:
    QProcess tool_;
    std::string output_;
};

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
    SimProcess sim({"12"});

    Commission first(sim, record, {"--count", "3"});
    for (const char* label : {"label it 10", "label it 11", "label it 13"}) {
        ASSERT_TRUE(first.Says("connect the next controller (it answers at 1)")) << first.Output();
        sim.Tell("add 1");
        ASSERT_TRUE(first.Says(label)) << first.Output();
    }
    EXPECT_EQ(first.Status(), 0);
    EXPECT_THAT(first.Output(), HasSubstr("12 already answers and is not in the record: skipped"));
    EXPECT_EQ(Rows(record), (Strings{"10,1,moved,not asked", "11,1,moved,not asked", "13,1,moved,not asked"}));

    // The next visit goes on after 13. Two controllers connected at once are
    // told apart from one and moved nowhere; Ctrl-C leaves the record whole.
    Commission next(sim, record, {"--calibrate"});
    ASSERT_TRUE(next.Says("connect the next controller")) << next.Output();
    sim.Tell("add 1");
    ASSERT_TRUE(next.Says("moved 1 -> 14 at 9600 baud, answers in ")) << next.Output();
    EXPECT_TRUE(next.Says("rope dry (value 0x0001): label it 14")) << next.Output();
    ASSERT_TRUE(next.Says("[1 done] connect the next controller")) << next.Output();
    // In one write, so that no probe comes between them.
    sim.Tell("add 1\nadd 1");
    EXPECT_TRUE(next.Says("more than one controller answers at 1: connect one at a time")) << next.Output();
    next.Interrupt();
    EXPECT_EQ(next.Status(), 130);
    EXPECT_THAT(next.Output(), HasSubstr("moved 1, failed 0; record: " + record.toStdString()));
    EXPECT_EQ(Rows(record).size(), 4u);
    EXPECT_EQ(Rows(record).back(), "14,1,moved,rope dry (value 0x0001)");
}

// Root writes anywhere: an ordinary user shows what a folder without write
// permission does.
TEST(Commission, ARecordThatCannotBeWrittenOrIsNotOursIsRefusedBeforeAnythingIsSent)
{
    QTemporaryDir folder;
    SimProcess sim({"1"});
    const std::string link = TARNEL_LINK_PATH;
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
    const int foreign = std::system((link + args + notOurs.toStdString() + " 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(foreign), 2);
    QFile after(notOurs);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), "name,phone\nhall,123\n");
    EXPECT_TRUE(sim.Requests().empty());
}

}  // namespace
