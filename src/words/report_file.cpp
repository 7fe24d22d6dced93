#include "words/report_file.h"

#include "platform/whole_file.h"
#include "site/handover.h"
#include "words/handover_report.h"

namespace tarnel::words {

using Kind = ReportTrouble::Kind;

std::variant<Report, ReportTrouble> ReportOfRecord(const std::string& record, const std::string& siteName,
                                                   const messages::Translation& words)
{
    std::error_code error;
    const std::optional<std::string> text = platform::ReadWholeFile(record, error);
    if (!text) {
        return ReportTrouble{Kind::RecordUnreadable, error};
    }
    const auto read = site::ReadRecord(*text);
    if (const auto* problem = std::get_if<site::RecordProblem>(&read)) {
        return ReportTrouble{Kind::NotARecord, {}, *problem};
    }
    const site::Handover handover = site::HandoverOf(std::get<std::vector<site::RecordRow>>(read));
    return Report{HandoverReport(handover, siteName, words), handover.controllers.size()};
}

std::optional<ReportTrouble> PutReport(const std::string& path, std::string_view page, bool force)
{
    std::error_code error;
    if (const std::optional<std::string> there = platform::ReadWholeFile(path, error)) {
        if (!there->empty() && std::holds_alternative<std::vector<site::RecordRow>>(site::ReadRecord(*there))) {
            return ReportTrouble{Kind::OutputIsARecord, {}};
        }
        if (!force && !IsHandoverReport(*there)) {
            return ReportTrouble{Kind::OutputNotOurs, {}};
        }
    } else if (!platform::NoSuchFile(error)) {
        return ReportTrouble{Kind::OutputUnwritable, error};
    }
    if ((error = platform::WriteWholeFile(path, page))) {
        return ReportTrouble{Kind::OutputUnwritable, error};
    }
    return std::nullopt;
}

}  // namespace tarnel::words
