// The commissioning record, its time stamps and the numbering it gives out.

#include "site/numbering.h"
#include "site/record.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>

namespace tarnel::site {
namespace {

const std::string kHeader = "time,address,baud,from,outcome,calibration,response_ms\n";
const std::string kRow = "2026-12-07T09:15:02+01:00,10,9600,1,moved,calibrated,4\n";

TEST(Record, ReadsItsOwnRowsAndRefusesAnythingElseNamingTheLine)
{
    using Kind = RecordProblem::Kind;
    // What a text reads as: so many rows, or why not.
    const struct { const char* name; std::string text; std::variant<std::size_t, RecordProblem> read; } cases[] = {
        {"new", "", 0u},
        {"header only", kHeader, 0u},
        {"rows", kHeader + kRow + "2026-12-07T09:16:40-03:30,11,1200,1,verify: no answer,not asked,\n", 2u},
        {"saved by a spreadsheet", "time,address,baud,from,outcome,calibration,response_ms\r\n" + kRow, 1u},
        {"someone else's", "name,phone\nhall,123\n", RecordProblem{Kind::ForeignHeader, 1}},
        {"a header cut short", "time,address,baud", RecordProblem{Kind::CutShort, 1}},
        {"a row cut short", kHeader + kRow + "2026-12-07T09:16:40+01:00,11,96", RecordProblem{Kind::CutShort, 3}},
        {"a blank line", kHeader + kRow + "\n", RecordProblem{Kind::NotARow, 3}},
    };
    for (const auto& c : cases) {
        const auto read = ReadRecord(c.text);
        const auto* rows = std::get_if<std::vector<RecordRow>>(&read);
        EXPECT_EQ(c.read, rows ? decltype(c.read)(rows->size()) : std::get<RecordProblem>(read)) << c.name;
    }
    // Rows that are none: a field too many, address 256, an unknown speed, a
    // day that is not, an outcome of no kind, a quoted field, a value in lower case.
    for (const char* row : {"2026-12-07T09:15:02+01:00,10,9600,1,moved,calibrated,4,x",
                            "2026-12-07T09:15:02+01:00,256,9600,1,moved,calibrated,4",
                            "2026-12-07T09:15:02+01:00,10,9601,1,moved,calibrated,4",
                            "2026-02-30T09:15:02+01:00,10,9600,1,moved,calibrated,4",
                            "2026-12-07T09:15:02+01:00,10,9600,1,teleported,calibrated,4",
                            "2026-12-07T09:15:02+01:00,10,9600,1,\"moved\",calibrated,4",
                            "2026-12-07T09:15:02+01:00,10,9600,1,moved,rope dry (value 0xab0f),4"}) {
        EXPECT_EQ(ReadRecord(kHeader + row + "\n"), decltype(ReadRecord(""))(RecordProblem{Kind::NotARow, 2})) << row;
    }
    const std::string rows[] = {kRow, "2026-12-07T09:16:40-03:30,11,1200,1,verify: no answer,not asked,\n",
                                "2026-12-07T09:17:00+01:00,12,9600,1,moved,rope dry (value 0xAB0F),5\n",
                                "2026-12-07T09:18:00+01:00,13,9600,1,another controller still at 1,skipped,\n"};
    for (const std::string& row : rows) {
        EXPECT_EQ(RecordLine(std::get<0>(ReadRecord(kHeader + row)).at(0)), row) << "reads back as written";
    }
}

TEST(Record, AnotherRunsRecordIsRefusedAndANewOneGetsItsHeader)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath("site.csv").toStdString();
    auto first = OpenRecord(path);
    ASSERT_TRUE(std::holds_alternative<Record>(first));
    const auto second = OpenRecord(path);
    ASSERT_TRUE(std::holds_alternative<RecordRefusal>(second));
    EXPECT_EQ(std::get<RecordRefusal>(second).kind, RecordRefusal::Kind::HeldElsewhere);
    const RecordRow row{*ParseIsoTime("2026-12-07T09:15:02+01:00"), 10, 9600, 1, {}, {Calibration::Kind::Calibrated}, 4};
    EXPECT_FALSE(std::get<Record>(first).Append(row));
    first = RecordRefusal{};
    const auto again = OpenRecord(path);
    ASSERT_TRUE(std::holds_alternative<Record>(again));
    EXPECT_EQ(std::get<Record>(again).Rows(), std::vector{row});
}

TEST(Record, TimesAreLocalWithTheirOffset)
{
    using namespace std::chrono;
    const auto at = sys_days(year(2026) / 12 / 7) + hours(9) + minutes(15) + seconds(2);
    const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
    for (const auto& [tz, expected] : {std::pair{"<+0545>-5:45", "2026-12-07T15:00:02+05:45"},
                                       {"<-0330>3:30", "2026-12-07T05:45:02-03:30"},
                                       {"UTC0", "2026-12-07T09:15:02+00:00"}}) {
        ::setenv("TZ", tz, 1);
        ::tzset();
        EXPECT_EQ(IsoText(LocalTime(at)), expected);
        EXPECT_EQ(ParseIsoTime(expected), LocalTime(at));
    }
    zone.empty() ? ::unsetenv("TZ") : ::setenv("TZ", zone.c_str(), 1);
    ::tzset();
}

TEST(Numbering, GoesOnAfterTheRecordAndSkipsTheFactoryAddress)
{
    const struct {
        std::uint32_t first, last, factory;
        std::set<std::uint32_t> recorded;
        std::optional<std::uint32_t> next;
    } cases[] = {
        {10, 255, 1, {}, 10}, {10, 255, 1, {10, 11, 13}, 14},
        {10, 255, 1, {3, 10, 11}, 12},  // below the range: no bearing
        {10, 20, 1, {10, 30}, 11},      // above it: none either
        {1, 255, 1, {}, 2}, {10, 255, 14, {10, 13}, 15},
        {10, 12, 1, {10, 11, 12}, std::nullopt}, {255, 255, 255, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto start = NumberingStart(c.first, c.last, c.recorded);
        EXPECT_EQ(NextFreeAddress(start, c.last, c.factory, c.recorded), c.next)
            << c.first << ".." << c.last << " with " << c.recorded.size() << " recorded";
    }
}

}  // namespace
}  // namespace tarnel::site
