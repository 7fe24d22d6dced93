#include "monitor_command.h"

#include "exit_codes.h"
#include "frame_splitter.h"
#include "interrupt.h"
#include "link/frame_shapes.h"
#include "link/frame_text.h"
#include "link/port_line.h"
#include "link/protocol.h"

#include <chrono>
#include <cstdio>
#include <map>

namespace tarnel::tool {
namespace {

struct Tally {
    unsigned frames = 0;
    unsigned badChecks = 0;
    std::map<unsigned, unsigned> perAddress;
};

void Print(const FrameSplitter::Frame& frame, Tally& tally)
{
    std::printf("%8lld ms  %s  (%s)\n", static_cast<long long>(frame.start.count() / 1000),
                link::Hex(frame.bytes).c_str(), link::Decode(frame.bytes).c_str());
    std::fflush(stdout);
    ++tally.frames;
    if (frame.bytes.size() < 4 || !link::HasValidCheck(frame.bytes)) {
        ++tally.badChecks;
    }
    ++tally.perAddress[frame.bytes[0]];
}

void PrintSummary(const Tally& tally)
{
    std::fprintf(stderr, "%u frames, %u with a bad check", tally.frames, tally.badChecks);
    const char* separator = "; per address: ";
    for (const auto& [address, count] : tally.perAddress) {
        std::fprintf(stderr, "%s%u: %u", separator, address, count);
        separator = ", ";
    }
    std::fprintf(stderr, "\n");
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
    std::fprintf(stderr, "listening on %s at %u baud (frames end after %.2f ms of silence); Ctrl-C ends\n",
                 port.Device().c_str(), baud, static_cast<double>(link::FrameGap(baud).count()) / 1000);
    const link::TimePoint start = line.Now();
    const auto since = [start](link::TimePoint at) { return std::chrono::duration_cast<link::Micros>(at - start); };
    Tally tally;
    while (!line.StopRequested() && !line.Lost()) {
        const auto heard = line.Take();
        const auto ended = heard ? splitter.Feed(heard->bytes, since(heard->at)) : splitter.Flush(since(line.Now()));
        if (ended) {
            Print(*ended, tally);
        }
        if (!heard) {
            line.Wait(std::chrono::milliseconds(1));
        }
    }
    if (const auto last = splitter.Flush(link::Micros::max())) {
        Print(*last, tally);
    }
    PrintSummary(tally);
    if (line.Lost()) {
        std::fprintf(stderr, "tarnel-link: %s: the device went away\n", port.Device().c_str());
        return kNotDone;
    }
    return kInterrupted;
}

}  // namespace tarnel::tool
