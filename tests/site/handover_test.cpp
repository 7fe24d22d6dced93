// What a record comes to at the handover: visits merged by address, the
// last row counting, totals, and what is left to do.

#include "site/handover.h"

#include <gtest/gtest.h>

namespace tarnel::site {
namespace {

std::vector<RecordRow> Rows(const std::string& lines)
{
    return std::get<std::vector<RecordRow>>(ReadRecord(std::string(kRecordHeader) + "\n" + lines));
}

TEST(Handover, TheLastRowOfEachAddressCountsAndTheEarlierAreItsHistory)
{
    const Handover handover = HandoverOf(Rows("2026-12-07T09:00:00+01:00,11,9600,1,verify: no answer,not asked,\n"
                                              "2026-12-07T09:05:00+01:00,10,9600,1,moved,rope dry (value 0x0001),5\n"
                                              "2026-12-07T09:09:00+01:00,12,9600,1,set-address: no answer,not asked,\n"
                                              "2026-12-08T10:00:00+01:00,11,9600,1,moved,calibrated,6\n"
                                              "2026-12-08T10:01:00+01:00,13,9600,1,moved,skipped,4\n"
                                              "2026-12-08T10:02:00+01:00,14,9600,1,moved,no answer,4\n"
                                              "2026-12-08T10:03:00+01:00,15,9600,1,moved,calibrated,4\n"));
    std::vector<std::pair<std::uint32_t, std::size_t>> addresses;
    std::vector<Attention> attention;
    for (const HandedOver& controller : handover.controllers) {
        addresses.emplace_back(controller.last.address, controller.earlier.size());
        attention.push_back(AttentionFor(controller.last));
    }
    using enum Attention;
    EXPECT_EQ(addresses, (decltype(addresses){{10, 0}, {11, 1}, {12, 0}, {13, 0}, {14, 0}, {15, 0}}));
    EXPECT_EQ(attention, (std::vector{RopeDry, None, NotMoved, NotCalibrated, CalibrationFailed, None}));
    EXPECT_EQ(handover.totals, (HandoverTotals{.moved = 5, .failed = 1, .calibrated = 2, .ropeDry = 1,
                                                .notCalibrated = 3}));
    EXPECT_EQ(IsoText(handover.span->first), "2026-12-07T09:00:00+01:00");
    EXPECT_EQ(IsoText(handover.span->last), "2026-12-08T10:03:00+01:00");
    EXPECT_FALSE(HandoverOf({}).span);
}

TEST(Handover, TheReportGoesBesideTheRecordAndTheSiteIsItsFolder)
{
    const struct { std::string record, report, site; } cases[] = {
        {"/home/tech/hall-b/commissioning.csv", "/home/tech/hall-b/commissioning.html", "hall-b"},
        {"/home/tech/hall.b/site", "/home/tech/hall.b/site.html", "hall.b"},
        {"/home/tech/.record", "/home/tech/.record.html", "tech"},
        {"site.csv", "site.html", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportPathFor(c.record), c.report);
        EXPECT_EQ(SiteNameFor(c.record), c.site);
    }
}

}  // namespace
}  // namespace tarnel::site
