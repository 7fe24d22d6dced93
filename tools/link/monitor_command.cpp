#include "monitor_command.h"

#include "bus_statistics.h"
#include "console.h"
#include "exit_codes.h"
#include "frame_decoding.h"
#include "frame_joiner.h"
#include "frame_splitter.h"
#include "interrupt.h"
#include "link/frame_shapes.h"
#include "link/frame_text.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages.h"

#include <chrono>
#include <cstdio>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

void Print(const FrameJoiner::Frame& frame)
{
    std::printf("%8lld ms  %s  (%s)\n", static_cast<long long>(frame.start.count() / 1000),
                link::Hex(frame.bytes).c_str(), Decode(frame.bytes).c_str());
    std::fflush(stdout);
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
    const std::uint32_t baud = link::kBaudRates[static_cast<std::size_t>(baudIndex)].rate;
    FrameSplitter splitter(baud);
    Report(Format(Tr("listening on %s at %u baud (frames end after %.2f ms of silence); Ctrl-C ends"),
                  port.Device().c_str(), baud, static_cast<double>(link::FrameGap(baud).count()) / 1000));
    const link::TimePoint start = line.Now();
    const auto since = [start](link::TimePoint at) { return std::chrono::duration_cast<link::Micros>(at - start); };
    FrameJoiner joiner(baud);
    BusStatistics statistics(baud);
    const auto take = [&statistics](const std::vector<FrameJoiner::Frame>& frames) {
        for (const FrameJoiner::Frame& frame : frames) {
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
    for (const std::string& summary : statistics.Summary(since(line.Now()))) {
        Report(summary);
    }
    if (line.Lost()) {
        std::fprintf(stderr, "tarnel-link: %s: %s\n", port.Device().c_str(), Tr("the device went away"));
        return kNotDone;
    }
    return kInterrupted;
}

}  // namespace tarnel::tool
