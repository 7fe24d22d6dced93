// The commissioning record and the choices made from it, without a line.

#include "commission.h"
#include "link/frame_shapes.h"
#include "site_record.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace tarnel::tool {
namespace {

const std::string kHeader = "time,address,baud,from,outcome,calibration,response_ms\n";
const std::string kRow = "2026-12-07T09:15:02+01:00,10,9600,1,moved,calibrated,4\n";

TEST(SiteRecord, ReadsItsOwnRowsAndRefusesAnythingElseNamingTheLine)
{
    const struct {
        const char* name;
        std::string text;
        std::size_t rows;     // when read
        const char* problem;  // when refused
    } cases[] = {
        {"new", "", 0, nullptr},
        {"header only", kHeader, 0, nullptr},
        {"rows", kHeader + kRow + "2026-12-07T09:16:40+01:00,11,1200,1,verify: no answer,not asked,\n", 2, nullptr},
        {"saved by a spreadsheet", "time,address,baud,from,outcome,calibration,response_ms\r\n" + kRow, 1, nullptr},
        {"someone else's", "name,phone\nhall,123\n", 0, "it does not begin with the line time,address,"},
        {"a header cut short", "time,address,baud", 0, "line 1 is cut short"},
        {"a row cut short", kHeader + kRow + "2026-12-07T09:16:40+01:00,11,96", 0, "line 3 is cut short"},
        {"a field too many", kHeader + "t,10,9600,1,moved,calibrated,4,x\n", 0, "line 2 is not a row"},
        {"address 256", kHeader + "t,256,9600,1,moved,calibrated,4\n", 0, "line 2 is not a row"},
        {"an unknown speed", kHeader + "t,10,9601,1,moved,calibrated,4\n", 0, "line 2 is not a row"},
        {"hex", kHeader + "t,0x10,9600,1,moved,calibrated,4\n", 0, "line 2 is not a row"},
        {"a blank outcome", kHeader + "t,10,9600,1,,calibrated,4\n", 0, "line 2 is not a row"},
        {"a quoted field", kHeader + "t,10,9600,1,\"moved\",calibrated,4\n", 0, "line 2 is not a row"},
        {"a blank line", kHeader + kRow + "\n", 0, "line 3 is not a row"},
    };
    for (const auto& c : cases) {
        const auto read = ReadRecord(c.text);
        if (c.problem) {
            const std::string* problem = std::get_if<std::string>(&read);
            ASSERT_TRUE(problem) << c.name;
            EXPECT_EQ(problem->rfind(c.problem, 0), 0u) << c.name << ": " << *problem;
        } else {
            ASSERT_TRUE(std::holds_alternative<std::vector<RecordRow>>(read)) << c.name << ": " << std::get<1>(read);
            EXPECT_EQ(std::get<0>(read).size(), c.rows) << c.name;
        }
    }
    const auto rows = std::get<0>(ReadRecord(kHeader + kRow));
    EXPECT_EQ(kHeader + RecordLine(rows.at(0)), kHeader + kRow) << "a row reads back as written";
}

TEST(SiteRecord, TimesAreLocalWithTheirOffset)
{
    using namespace std::chrono;
    const auto at = sys_days(year(2026) / 12 / 7) + hours(9) + minutes(15) + seconds(2);
    const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
    for (const auto& [tz, expected] : {std::pair{"<+0545>-5:45", "2026-12-07T15:00:02+05:45"},
                                       {"<-03>3", "2026-12-07T06:15:02-03:00"},
                                       {"UTC0", "2026-12-07T09:15:02+00:00"}}) {
        ::setenv("TZ", tz, 1);
        ::tzset();
        EXPECT_EQ(IsoTime(at), expected);
    }
    zone.empty() ? ::unsetenv("TZ") : ::setenv("TZ", zone.c_str(), 1);
    ::tzset();
}

TEST(SiteRecord, NumberingGoesOnAfterTheRecordAndSkipsTheFactoryAddress)
{
    const struct {
        std::uint32_t first, last, factory;
        std::set<std::uint32_t> recorded;
        std::optional<std::uint32_t> next;
    } cases[] = {
        {10, 255, 1, {}, 10},
        {10, 255, 1, {10, 11, 13}, 14},
        {10, 255, 1, {3, 10, 11}, 12},   // below the range: no bearing
        {10, 20, 1, {10, 30}, 11},       // above it: none either
        {1, 255, 1, {}, 2},
        {10, 255, 14, {10, 13}, 15},
        {10, 12, 1, {10, 11, 12}, std::nullopt},
        {255, 255, 255, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto start = NumberingStart(c.first, c.last, c.recorded);
        EXPECT_EQ(NextFreeAddress(start, c.last, c.factory, c.recorded), c.next)
            << c.first << ".." << c.last << " with " << c.recorded.size() << " recorded";
    }
}

TEST(SiteRecord, CalibrationsAreNamedByWhatCameBack)
{
    const auto reply = [](std::vector<std::uint8_t> bytes, Heard kind = Heard::Reply) {
        return Answer{HeardFrame{kind, 10, link::Sealed(std::move(bytes)), 4}, false};
    };
    const struct {
        const char* name;
        Answer answer;
        const char* calibration;
    } cases[] = {
        {"value 0", reply({10, 4, 2, 0, 0}), "calibrated"},
        {"late value 0", reply({10, 4, 2, 0, 0}, Heard::Late), "calibrated"},
        {"value 0x0123", reply({10, 4, 2, 1, 0x23}), "rope dry (value 0x0123)"},
        {"nothing", Answer{}, "no answer"},
        {"echo", Answer{std::nullopt, true}, "no answer"},
        {"corrupt", reply({10, 4, 2, 0, 0}, Heard::Corrupt), "corrupt answer"},
        {"short", reply({10, 4}, Heard::Short), "short answer"},
        {"exception", reply({10, 0x84, 2}), "refused (exception 2)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CalibrationResult(c.answer), c.calibration) << c.name;
    }
}

}  // namespace
}  // namespace tarnel::tool
