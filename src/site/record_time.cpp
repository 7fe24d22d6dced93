#include "site/record_time.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tarnel::site {
namespace {

using namespace std::chrono;

// The digits of `text` from `at`, `count` of them; nothing unless all are digits.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (const char c : text.substr(at, count)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

local_seconds LocalSeconds(const std::tm& t)
{
    const year_month_day day{year(t.tm_year + 1900), month(static_cast<unsigned>(t.tm_mon + 1)),
                             std::chrono::day(static_cast<unsigned>(t.tm_mday))};
    return local_days(day) + hours(t.tm_hour) + minutes(t.tm_min) + seconds(t.tm_sec);
}

}  // namespace

std::string IsoText(const RecordTime& time)
{
    const auto day = floor<days>(time.local);
    const year_month_day date(day);
    const hh_mm_ss clock(time.local - day);
    const long offset = time.offset.count();
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld:%02ld:%02ld%c%02ld:%02ld", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<long>(clock.hours().count()), static_cast<long>(clock.minutes().count()),
                  static_cast<long>(clock.seconds().count()), offset < 0 ? '-' : '+', std::labs(offset) / 60,
                  std::labs(offset) % 60);
    return text;
}

std::optional<RecordTime> ParseIsoTime(std::string_view text)
{
    if (text.size() != 25 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || (text[19] != '+' && text[19] != '-') || text[22] != ':') {
        return std::nullopt;
    }
    const auto y = Digits(text, 0, 4), mo = Digits(text, 5, 2), d = Digits(text, 8, 2);
    const auto h = Digits(text, 11, 2), mi = Digits(text, 14, 2), s = Digits(text, 17, 2);
    const auto oh = Digits(text, 20, 2), om = Digits(text, 23, 2);
    if (!y || !mo || !d || !h || !mi || !s || !oh || !om || *h > 23 || *mi > 59 || *s > 59 || *oh > 23 || *om > 59) {
        return std::nullopt;
    }
    const year_month_day date{year(*y), month(static_cast<unsigned>(*mo)), day(static_cast<unsigned>(*d))};
    if (!date.ok()) {
        return std::nullopt;
    }
    const minutes offset = hours(*oh) + minutes(*om);
    return RecordTime{local_days(date) + hours(*h) + minutes(*mi) + seconds(*s), text[19] == '-' ? -offset : offset};
}

RecordTime SystemWallClock::Now() const
{
    return LocalTime(system_clock::now());
}

RecordTime LocalTime(system_clock::time_point time)
{
    const std::time_t seconds = system_clock::to_time_t(time);
    const std::tm local = *std::localtime(&seconds);
    const std::tm utc = *std::gmtime(&seconds);
    // The offset from the two calendars, so that no platform's %z is needed.
    const local_seconds at = LocalSeconds(local);
    return {at, duration_cast<minutes>(at - LocalSeconds(utc))};
}

}  // namespace tarnel::site
