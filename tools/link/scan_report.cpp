#include "scan_report.h"

#include <cstdio>
#include <unistd.h>

namespace tarnel::tool {

void PrintTable(const std::vector<Found>& found)
{
    std::printf("%7s  %5s  %-19s  %s\n", "address", "baud", "reply", "answer");
    for (const Found& f : found) {
        std::printf("%7u  %5u  %-19s  %s\n", f.address, f.baud, link::Describe(f.kind), link::Hex(f.answer).c_str());
    }
}

void PrintJson(const std::vector<Found>& found)
{
    // Every value is a number or plain ASCII of our own: nothing to escape.
    std::printf("[");
    for (std::size_t i = 0; i < found.size(); ++i) {
        const Found& f = found[i];
        std::printf("%s\n  {\"address\": %u, \"baud\": %u, \"reply\": \"%s\", \"answer\": \"%s\"}", i ? "," : "",
                    f.address, f.baud, link::Describe(f.kind), link::Hex(f.answer).c_str());
    }
    std::printf("%s]\n", found.empty() ? "" : "\n");
}

Progress::Progress(std::uint32_t probes, std::uint32_t timeoutMs)
    : terminal_(::isatty(STDERR_FILENO) != 0), probes_(probes), timeoutMs_(timeoutMs)
{
}

void Progress::Speed(std::uint32_t baud, std::uint32_t from, std::uint32_t to)
{
    if (!terminal_) {
        std::fprintf(stderr, "scanning %u..%u at %u baud\n", from, to, baud);
    }
}

void Progress::Probed(std::uint32_t address, std::uint32_t baud, const std::vector<Found>& found)
{
    ++done_;
    if (!terminal_) {
        if (!found.empty() && found.back().address == address && found.back().baud == baud) {
            std::fprintf(stderr, "found %u at %u baud (%s)\n", address, baud, link::Describe(found.back().kind));
        }
        return;
    }
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(static_cast<std::uint64_t>(done_) * kWidth / probes_);
    const std::uint32_t secondsLeft = (probes_ - done_) * timeoutMs_ / 1000;
    std::fprintf(stderr, "\r[%.*s%*s] address %3u at %5u baud, %zu found, %u s left ", filled,
                 "##############################", kWidth - filled, "", address, baud, found.size(), secondsLeft);
}

void Progress::Done()
{
    if (terminal_) {
        std::fprintf(stderr, "\n");
    }
}

}  // namespace tarnel::tool
