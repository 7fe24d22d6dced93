// A commissioning record's text from the input: a text read as a record has
// one row for each line after the header, its rows written out again read
// back the same, and a text refused names a line it has.

#include "require.h"
#include "site/record.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnel::site;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = ReadRecord(text);
    const auto lines = static_cast<std::size_t>(std::ranges::count(text, '\n'));
    if (const auto* problem = std::get_if<RecordProblem>(&read)) {
        Require(problem->line >= 1 && problem->line <= lines + 1);
        return 0;
    }
    const auto& rows = std::get<std::vector<RecordRow>>(read);
    Require(text.empty() ? rows.empty() : rows.size() + 1 == lines);
    std::string written = text.empty() ? "" : std::string(kRecordHeader) + '\n';
    for (const RecordRow& row : rows) {
        written += RecordLine(row);
    }
    const auto again = ReadRecord(written);
    Require(std::holds_alternative<std::vector<RecordRow>>(again) && std::get<0>(again) == rows);
    return 0;
}
