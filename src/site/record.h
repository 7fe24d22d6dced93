#pragma once

#include "platform/append_file.h"
#include "site/outcomes.h"
#include "site/record_time.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

// A site's commissioning record: one CSV row for each controller, in words
// that stay English whatever the language, so that any tool can read it.
namespace tarnel::site {

struct RecordRow {
    RecordTime time;
    std::uint32_t address = 0;
    std::uint32_t baud = 0;
    std::uint32_t from = 0;  // the factory address it came with
    Outcome outcome;
    Calibration calibration;
    std::optional<std::uint32_t> responseMs;  // at its new address

    bool operator==(const RecordRow&) const = default;
};

// The record's first line; a file that begins otherwise is not a record.
inline constexpr std::string_view kRecordHeader = "time,address,baud,from,outcome,calibration,response_ms";

// The line of a row, with its line end.
std::string RecordLine(const RecordRow& row);

// Why a text is no record: a file that is not one, or one damaged (a row cut
// short, a field out of place), named by its line.
struct RecordProblem {
    enum class Kind { ForeignHeader, CutShort, NotARow };
    Kind kind;
    std::size_t line;

    bool operator==(const RecordProblem&) const = default;
};

// The rows of a record's text; an empty text is a new record with no rows.
std::variant<std::vector<RecordRow>, RecordProblem> ReadRecord(std::string_view text);

// The addresses a record gives out: every row's, failed moves included,
// since a move that went wrong may still have moved the controller.
std::set<std::uint32_t> RecordedAddresses(const std::vector<RecordRow>& rows);

// A record open for a run: the rows it held, and the file new ones go to,
// each on the disk before Append returns.
class Record {
public:
    Record(std::unique_ptr<platform::AppendFile> file, std::vector<RecordRow> rows);

    const std::vector<RecordRow>& Rows() const { return rows_; }
    std::error_code Append(const RecordRow& row);

private:
    std::unique_ptr<platform::AppendFile> file_;
    std::vector<RecordRow> rows_;
};

// Why a record was not opened; the file is left as it was, nothing is sent.
struct RecordRefusal {
    enum class Kind { CannotOpen, HeldElsewhere, NotARecord, CannotWrite };
    Kind kind;
    std::error_code error;  // CannotOpen, HeldElsewhere, CannotWrite
    RecordProblem problem{};  // NotARecord
};

// Opens the record at `path`, made with its header when new.
std::variant<Record, RecordRefusal> OpenRecord(const std::string& path);

}  // namespace tarnel::site
