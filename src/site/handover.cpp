#include "site/handover.h"

#include "platform/paths.h"

#include <map>

namespace tarnel::site {

Attention AttentionFor(const RecordRow& row)
{
    using Kind = Calibration::Kind;
    if (row.outcome.kind != Outcome::Kind::Moved) {
        return Attention::NotMoved;
    }
    switch (row.calibration.kind) {
    case Kind::Calibrated: return Attention::None;
    case Kind::RopeDry: return Attention::RopeDry;
    case Kind::Failed: return Attention::CalibrationFailed;
    case Kind::NotAsked:
    case Kind::Skipped: break;
    }
    return Attention::NotCalibrated;
}

namespace {

void Count(const RecordRow& row, HandoverTotals& totals)
{
    ++(row.outcome.kind == Outcome::Kind::Moved ? totals.moved : totals.failed);
    switch (row.calibration.kind) {
    case Calibration::Kind::Calibrated: ++totals.calibrated; break;
    case Calibration::Kind::RopeDry: ++totals.ropeDry; break;
    default: ++totals.notCalibrated; break;
    }
}

}  // namespace

Handover HandoverOf(const std::vector<RecordRow>& rows)
{
    std::map<std::uint32_t, std::vector<RecordRow>> byAddress;
    for (const RecordRow& row : rows) {
        byAddress[row.address].push_back(row);
    }
    Handover handover;
    for (auto& [address, visits] : byAddress) {
        const RecordRow last = visits.back();
        visits.pop_back();
        Count(last, handover.totals);
        handover.controllers.push_back({last, std::move(visits)});
    }
    if (!rows.empty()) {
        handover.span = Handover::Span{rows.front().time, rows.back().time};
    }
    return handover;
}

std::string ReportPathFor(const std::string& record)
{
    const std::string name = platform::NameOf(record);
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    return record.substr(0, record.size() - name.size()) + stem + ".html";
}

std::string SiteNameFor(const std::string& record)
{
    return platform::NameOf(platform::FolderOf(record));
}

}  // namespace tarnel::site
