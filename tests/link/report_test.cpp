// The handover report: what its page says of a record, and what its file
// never replaces.

#include "platform/whole_file.h"
#include "sim_process.h"
#include "words/handover_report.h"
#include "words/report_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

namespace tarnel::words {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using Kind = ReportTrouble::Kind;

const std::string kRecord = "time,address,baud,from,outcome,calibration,response_ms\n"
                            "2026-12-07T09:16:40+01:00,11,9600,1,verify: no answer,not asked,\n"
                            "2026-12-07T09:17:00+01:00,12,9600,1,moved,rope dry (value 0x0001),5\n"
                            "2026-12-08T10:00:00+01:00,11,9600,1,moved,calibrated,6\n";

std::string Written(const std::string& path, std::string_view text)
{
    EXPECT_FALSE(platform::WriteWholeFile(path, text));
    return path;
}

std::string Contents(const std::string& path)
{
    std::error_code error;
    return platform::ReadWholeFile(path, error).value_or("(none)");
}

TEST(Report, ShowsTheRecordAndTheSiteAsTextMarkedAndMerged)
{
    QTemporaryDir folder;
    const std::string record = Written(folder.filePath("site.csv").toStdString(), kRecord);
    const auto made = ReportOfRecord(record, "<script>alert(\"x\")</script> & 'Co'", messages::kEnglish);
    const std::string& page = std::get<Report>(made).page;
    EXPECT_THAT(page, HasSubstr("&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; &#39;Co&#39;"));
    EXPECT_THAT(page, Not(HasSubstr("<script")));
    EXPECT_THAT(page, HasSubstr("<td class=\"number\">2</td><td class=\"number\">2</td><td class=\"number\">0</td>"
                                "<td class=\"number\">1</td><td class=\"number\">1</td><td class=\"number\">0</td>"));
    EXPECT_THAT(page, HasSubstr("<tr class=\"attention\"><td class=\"mark\">!</td><td class=\"number\">12</td>"));
    EXPECT_THAT(page, HasSubstr("<tr><td class=\"mark\"></td><td class=\"number\">11</td>"));
    EXPECT_THAT(page, HasSubstr("earlier, 2026-12-07 09:16: verify: no answer, not asked"));
    EXPECT_THAT(page, HasSubstr("<li>12: rope dry (value 0x0001): lay the first 0-0.3 m"));
    EXPECT_THAT(std::get<Report>(ReportOfRecord(record, "", messages::kChinese)).page,
                HasSubstr("<html lang=\"zh-CN\">"));
}

// An earlier report is replaced; anything else only when forced, a record
// never; a record that is not one makes no report at all.
TEST(Report, ReplacesOnlyItsOwnReportsAndNeverARecord)
{
    QTemporaryDir folder;
    const std::string earlier = HandoverReport({}, "hall");
    const struct {
        const char* name;
        std::optional<std::string> there;
        bool force;
        std::optional<Kind> refused;
    } cases[] = {
        {"nothing there", std::nullopt, false, std::nullopt},
        {"an earlier report", earlier, false, std::nullopt},
        {"notes", "notes\n", false, Kind::OutputNotOurs},
        {"notes, forced", "notes\n", true, std::nullopt},
        {"a record, forced", kRecord, true, Kind::OutputIsARecord},
    };
    for (const auto& c : cases) {
        const std::string path = folder.filePath(c.name).toStdString();
        if (c.there) {
            Written(path, *c.there);
        }
        const auto trouble = PutReport(path, "<!DOCTYPE html>\nnew", c.force);
        EXPECT_EQ(trouble ? std::optional(trouble->kind) : std::nullopt, c.refused) << c.name;
        EXPECT_EQ(Contents(path), c.refused ? *c.there : "<!DOCTYPE html>\nnew") << c.name;
    }
    const std::string notes = Written(folder.filePath("notes.csv").toStdString(), "name,phone\n");
    const auto trouble = std::get<ReportTrouble>(ReportOfRecord(notes, "hall"));
    EXPECT_EQ(trouble.kind, Kind::NotARecord);
    EXPECT_EQ(trouble.problem, (site::RecordProblem{site::RecordProblem::Kind::ForeignHeader, 1}));
    EXPECT_EQ(std::get<ReportTrouble>(ReportOfRecord(folder.filePath("none.csv").toStdString(), "")).kind,
              Kind::RecordUnreadable);
    EXPECT_EQ(test::LinkTool({"report", notes}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(folder.filePath("notes.html").toStdString()));
}

}  // namespace
}  // namespace tarnel::words
