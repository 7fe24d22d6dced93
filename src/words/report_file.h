#pragma once

#include "messages/messages.h"
#include "site/record.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>

// The handover report made from a record on the disk, and written where it
// replaces nothing of anyone else's.
namespace tarnel::words {

// Why no report was made or written; nothing was.
struct ReportTrouble {
    enum class Kind {
        RecordUnreadable,  // `error`
        NotARecord,        // `problem`
        OutputIsARecord,   // never replaced, whatever the caller says
        OutputNotOurs,     // another file, replaced only when forced
        OutputUnwritable,  // `error`
    };
    Kind kind;
    std::error_code error;
    site::RecordProblem problem{};
};

struct Report {
    std::string page;
    std::size_t controllers = 0;
};

// The report of the record at `record`, of the site `siteName`.
std::variant<Report, ReportTrouble> ReportOfRecord(const std::string& record, const std::string& siteName,
                                                   const messages::Translation& words = messages::kUserLanguage);

// Writes `page` at `path`, replacing an earlier report, or with `force`
// any other file but a record.
std::optional<ReportTrouble> PutReport(const std::string& path, std::string_view page, bool force);

}  // namespace tarnel::words
