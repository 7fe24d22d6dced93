#include "report_command.h"

#include "console.h"
#include "exit_codes.h"
#include "messages/messages.h"
#include "platform/error_text.h"
#include "site/handover.h"
#include "words/report_file.h"
#include "words/site_words.h"

#include <cstdio>
#include <filesystem>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

// Why no report was written; nothing was.
void Refused(const words::ReportTrouble& trouble, const std::string& record, const std::string& output)
{
    using Kind = words::ReportTrouble::Kind;
    const std::string error = platform::ErrorText(trouble.error);
    switch (trouble.kind) {
    case Kind::RecordUnreadable:
        Report("tarnel-link: " + Format(Tr("the record %s cannot be read: %s; no report written"), record.c_str(),
                                        error.c_str()));
        break;
    case Kind::NotARecord:
        Report("tarnel-link: " + Format(Tr("%s is no commissioning record: %s; no report written"), record.c_str(),
                                        words::RecordProblemText(trouble.problem).c_str()));
        break;
    case Kind::OutputIsARecord:
        Report("tarnel-link: " + Format(Tr("%s is a commissioning record, which is never replaced; no report written"),
                                        output.c_str()));
        break;
    case Kind::OutputNotOurs:
        Report("tarnel-link: " + Format(Tr("%s is there and is no report made by Tarnel: left untouched (--force "
                                           "replaces it)"),
                                        output.c_str()));
        break;
    case Kind::OutputUnwritable:
        Report("tarnel-link: " + Format(Tr("the report %s cannot be written: %s"), output.c_str(), error.c_str()));
        break;
    }
}

}  // namespace

int RunReport(const ReportRequest& request)
{
    const std::string output = request.output.empty() ? site::ReportPathFor(request.record) : request.output;
    const std::string siteName =
        request.site.empty() ? site::SiteNameFor(std::filesystem::absolute(request.record).string()) : request.site;
    const auto made = words::ReportOfRecord(request.record, siteName);
    if (const auto* trouble = std::get_if<words::ReportTrouble>(&made)) {
        Refused(*trouble, request.record, output);
        return kBadCommand;
    }
    const words::Report& report = std::get<words::Report>(made);
    if (output == "-") {
        std::fwrite(report.page.data(), 1, report.page.size(), stdout);
        return kSuccess;
    }
    if (const auto trouble = words::PutReport(output, report.page, request.force)) {
        Refused(*trouble, request.record, output);
        return kBadCommand;
    }
    Print(Format(messages::TrN("report of %zu controller: %s", "report of %zu controllers: %s", report.controllers),
                 report.controllers, output.c_str()));
    return kSuccess;
}

}  // namespace tarnel::tool
