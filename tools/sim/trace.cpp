#include "trace.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace tarnel::sim {

void Trace(std::string_view what, std::span<const std::uint8_t> bytes, std::string_view remark)
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);

    std::printf("%02d:%02d:%02d.%03d %.*s", local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis),
                static_cast<int>(what.size()), what.data());
    for (const std::uint8_t byte : bytes) {
        std::printf(" %02X", byte);
    }
    if (!remark.empty()) {
        std::printf("  (%.*s)", static_cast<int>(remark.size()), remark.data());
    }
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace tarnel::sim
