// A commissioning record's text from the input: a text read as a record has
// one row for each line after the header, and its rows written out again
// read back the same.

#include "require.h"
#include "site_record.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto read = tarnel::tool::ReadRecord(text);
    const auto* rows = std::get_if<std::vector<tarnel::tool::RecordRow>>(&read);
    if (!rows) {
        Require(!std::get<std::string>(read).empty());
        return 0;
    }
    const auto lines = static_cast<std::size_t>(std::ranges::count(text, '\n'));
    Require(text.empty() ? rows->empty() : rows->size() + 1 == lines);
    std::string written = text.empty() ? "" : std::string(tarnel::tool::kRecordHeader) + '\n';
    for (const auto& row : *rows) {
        written += tarnel::tool::RecordLine(row);
    }
    const auto again = tarnel::tool::ReadRecord(written);
    Require(std::holds_alternative<std::vector<tarnel::tool::RecordRow>>(again) && std::get<0>(again) == *rows);
    return 0;
}
