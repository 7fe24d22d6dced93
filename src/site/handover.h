#pragma once

#include "site/record.h"

#include <optional>
#include <string>
#include <vector>

// A commissioned site as its record tells it at the handover: visits on
// several days merged, each address counted once, by its last row.
namespace tarnel::site {

// What is left to do for a controller after its last row.
enum class Attention { None, NotMoved, RopeDry, NotCalibrated, CalibrationFailed };
Attention AttentionFor(const RecordRow& row);

struct HandedOver {
    RecordRow last;
    std::vector<RecordRow> earlier;  // the address's earlier rows, in the record's order
};

struct HandoverTotals {
    unsigned moved = 0;
    unsigned failed = 0;
    unsigned calibrated = 0;
    unsigned ropeDry = 0;
    unsigned notCalibrated = 0;  // not asked, skipped, or no valid answer

    bool operator==(const HandoverTotals&) const = default;
};

struct Handover {
    std::vector<HandedOver> controllers;  // by address
    HandoverTotals totals;
    struct Span {
        RecordTime first, last;  // of the record's first and last rows
    };
    std::optional<Span> span;  // none for a record without rows
};

Handover HandoverOf(const std::vector<RecordRow>& rows);

// Where the report of the record at `record` goes unless told otherwise:
// beside it, its name ending in ".html" instead of its own ending.
std::string ReportPathFor(const std::string& record);

// The site a record belongs to, as a technician keeps records: its folder's name.
std::string SiteNameFor(const std::string& record);

}  // namespace tarnel::site
