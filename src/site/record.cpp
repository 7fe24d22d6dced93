#include "site_record.h"

#include "decimal.h"
#include "link/protocol.h"
#include "messages.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

constexpr std::size_t kFields = 7;

// Free text in a field: anything that would break the row's shape is out.
bool PlainText(std::string_view text)
{
    return !text.empty() && text.find_first_of(",\"\r\n") == std::string_view::npos;
}

std::optional<RecordRow> ReadRow(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (fields.size() != kFields) {
        return std::nullopt;
    }
    RecordRow row;
    const auto address = ParseDecimal(fields[1], link::kFirstAddress, link::kLastAddress);
    const auto baud = ParseDecimal(fields[2], 0, UINT32_MAX);
    const auto from = ParseDecimal(fields[3], link::kFirstAddress, link::kLastAddress);
    const auto response = ParseDecimal(fields[6], 0, UINT32_MAX);
    const bool knownBaud = baud && std::ranges::find(link::kBaudRates, *baud, &link::BaudRate::rate) !=
                                       link::kBaudRates.end();
    if (!PlainText(fields[0]) || !address || !knownBaud || !from || !PlainText(fields[4]) ||
        !PlainText(fields[5]) || (!fields[6].empty() && !response)) {
        return std::nullopt;
    }
    return RecordRow{std::string(fields[0]), *address, *baud, *from, std::string(fields[4]),
                     std::string(fields[5]), response};
}

}  // namespace

std::string RecordLine(const RecordRow& row)
{
    return row.time + ',' + std::to_string(row.address) + ',' + std::to_string(row.baud) + ',' +
           std::to_string(row.from) + ',' + row.outcome + ',' + row.calibration + ',' +
           (row.responseMs ? std::to_string(*row.responseMs) : "") + '\n';
}

std::variant<std::vector<RecordRow>, std::string> ReadRecord(std::string_view text)
{
    std::vector<RecordRow> rows;
    if (text.empty()) {
        return rows;
    }
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            return Format(Tr("line %zu is cut short (it has no line end)"), number);
        }
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        // A spreadsheet that saved it may have ended its lines the Windows way.
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (number == 1) {
            if (line != kRecordHeader) {
                return Format(Tr("it does not begin with the line %s"), std::string(kRecordHeader).c_str());
            }
            continue;
        }
        auto row = ReadRow(line);
        if (!row) {
            return Format(Tr("line %zu is not a row of the record"), number);
        }
        rows.push_back(std::move(*row));
    }
    return rows;
}

std::set<std::uint32_t> RecordedAddresses(const std::vector<RecordRow>& rows)
{
    std::set<std::uint32_t> addresses;
    for (const RecordRow& row : rows) {
        addresses.insert(row.address);
    }
    return addresses;
}

std::string IsoTime(std::chrono::system_clock::time_point time)
{
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(time);
    std::tm local = *std::localtime(&seconds);
    const std::tm utc = *std::gmtime(&seconds);
    // The offset from the two calendars, so that no platform's %z is needed.
    const auto days = [](const std::tm& t) {
        return sys_days(year_month_day(year(t.tm_year + 1900), month(static_cast<unsigned>(t.tm_mon + 1)),
                                       day(static_cast<unsigned>(t.tm_mday))));
    };
    const auto at = [&](const std::tm& t) {
        return days(t) + hours(t.tm_hour) + minutes(t.tm_min) + std::chrono::seconds(t.tm_sec);
    };
    const long offset = duration_cast<minutes>(at(local) - at(utc)).count();
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, "%c%02ld:%02ld", offset < 0 ? '-' : '+', std::abs(offset) / 60,
                  std::abs(offset) % 60);
    return text;
}

}  // namespace tarnel::tool
