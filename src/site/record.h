#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarnel::tool {

// One controller of a site's commissioning record: one line of CSV.
struct RecordRow {
    std::string time;  // ISO 8601 with the UTC offset
    std::uint32_t address = 0;
    std::uint32_t baud = 0;
    std::uint32_t from = 0;        // the factory address it came with
    std::string outcome;           // "moved" or a named failure
    std::string calibration;       // "calibrated", "rope dry (value 0x0123)", ..., "not asked"
    std::optional<std::uint32_t> responseMs;  // at its new address

    bool operator==(const RecordRow&) const = default;
};

// The record's first line; a file that begins otherwise is not a record.
inline constexpr std::string_view kRecordHeader = "time,address,baud,from,outcome,calibration,response_ms";

// The line of a row, with its line end.
std::string RecordLine(const RecordRow& row);

// The rows of a record's text, or why it is no record: a file that is not
// one, or one damaged (a row cut short, a field out of place), named by its
// line. An empty text is a new record with no rows.
std::variant<std::vector<RecordRow>, std::string> ReadRecord(std::string_view text);

// The addresses a record gives out: every row's, failed moves included,
// since a move that went wrong may still have moved the controller.
std::set<std::uint32_t> RecordedAddresses(const std::vector<RecordRow>& rows);

// "2026-12-07T09:15:02+01:00": local time with its offset from UTC.
std::string IsoTime(std::chrono::system_clock::time_point time);

}  // namespace tarnel::tool
