#include "monitor_command.h"

#include "console.h"
#include "exit_codes.h"
#include "frame_decoding.h"
#include "interrupt.h"
#include "link/frame_shapes.h"
#include "link/frame_text.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages/messages.h"
#include "site/bus_statistics.h"
#include "site/frame_joiner.h"
#include "site/frame_splitter.h"

#include <chrono>
#include <cstdio>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

void Print(const site::FrameJoiner::Frame& frame)
{
    std::printf("%8lld ms  %s  (%s)\n", static_cast<long long>(frame.start.count() / 1000),
                link::Hex(frame.bytes).c_str(), Decode(frame.bytes).c_str());
    std::fflush(stdout);
}

// The summary's lines on standard error.
void ReportSummary(const site::BusSummary& summary)
{
    const auto count = [](auto value) { return static_cast<unsigned long>(value); };
    Report(Format(Tr("%lu frames in %.1f s, %lu with a bad check, %lu gaps shorter than 3.5 characters"),
                        count(summary.frames), summary.seconds, count(summary.badChecks), count(summary.shortGaps)));
    for (const site::BusSummary::PerAddress& address : summary.addresses) {
        std::string line = Format(Tr("address %u: %lu frames (%.1f a second), %lu with a bad check (%lu%%)"),
                                  address.address, count(address.frames), address.frames / summary.seconds,
                                  count(address.badChecks), count(100 * address.badChecks / address.frames));
        if (const auto& times = address.responseMs) {
            line += Format(Tr(", answers in %.0f/%.0f/%.0f ms (min/median/max of %lu)"), times->min, times->median,
                           times->max, count(times->count));
        }
        Report(line);
    }
}

}  // namespace

int RunMonitor(const PortChoice& choice, int baudIndex)
{
    const InterruptStop stop;
    platform::SerialLine port = choice.Open(baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    link::PortLine line(port, &stop);
    const std::uint32_t baud = link::RateAt(baudIndex);
    site::FrameSplitter splitter(baud);
    Report(Format(Tr("listening on %s at %u baud (frames end after %.2f ms of silence); Ctrl-C ends"),
                  port.Device().c_str(), baud, static_cast<double>(link::FrameGap(baud).count()) / 1000));
    const link::TimePoint start = line.Now();
    const auto since = [start](link::TimePoint at) { return std::chrono::duration_cast<link::Micros>(at - start); };
    site::FrameJoiner joiner(baud);
    site::BusStatistics statistics(baud);
    const auto take = [&statistics](const std::vector<site::FrameJoiner::Frame>& frames) {
        for (const site::FrameJoiner::Frame& frame : frames) {
            Print(frame);
            statistics.Add(frame);
        }
    };
    while (!line.StopRequested() && !line.Lost()) {
        const auto heard = line.Take();
        const link::Micros now = since(heard ? heard->at : line.Now());
        const auto piece = heard ? splitter.Feed(heard->bytes, now) : splitter.Flush(now);
        take(piece ? joiner.Feed(*piece) : joiner.Flush(now));
        if (!heard) {
            line.Wait(std::chrono::milliseconds(1));
        }
    }
    if (const auto last = splitter.Flush(link::Micros::max())) {
        take(joiner.Feed(*last));
    }
    take(joiner.Flush(link::Micros::max()));
    ReportSummary(statistics.Summary(since(line.Now())));
    if (line.Lost()) {
        std::fprintf(stderr, "tarnel-link: %s: %s\n", port.Device().c_str(), Tr("the device went away"));
        return kNotDone;
    }
    return kInterrupted;
}

}  // namespace tarnel::tool
