#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace tarnel::site {

// A moment as the record keeps it: the local time with its offset from UTC.
struct RecordTime {
    std::chrono::local_seconds local{};
    std::chrono::minutes offset{0};

    bool operator==(const RecordTime&) const = default;
};

// "2026-12-07T09:15:02+01:00"
std::string IsoText(const RecordTime& time);
std::optional<RecordTime> ParseIsoTime(std::string_view text);

// Where a row's time comes from.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual RecordTime Now() const = 0;
};

// The system's clock, in the local time zone.
class SystemWallClock : public WallClock {
public:
    RecordTime Now() const override;
};

// `time` in the local time zone.
RecordTime LocalTime(std::chrono::system_clock::time_point time);

}  // namespace tarnel::site
