#include "monitor_command.h"

#include "exit_codes.h"
#include "link/frame_text.h"
#include "link/protocol.h"
#include "platform/clock.h"

#include <algorithm>
#include <cstdio>

namespace tarnel::tool {
namespace {

// 3.5 characters of 10 bits (start, 8 data, stop), rounded up, at least 2 ms.
std::uint32_t FrameGapMs(std::uint32_t baud)
{
    return std::max<std::uint32_t>(2, (35 * 1000 + baud - 1) / baud);
}

}  // namespace

int RunMonitor(const PortChoice& choice, int baudIndex)
{
    InstallInterruptFlag();
    link::PortHandle port = choice.Open(baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    const std::uint32_t baud = link::kBaudRates[static_cast<std::size_t>(baudIndex)].rate;
    const std::uint32_t gapMs = FrameGapMs(baud);
    std::fprintf(stderr, "listening on %s at %u baud (frames end after %u ms of silence); Ctrl-C ends\n",
                 port.Device().c_str(), baud, gapMs);
    const std::uint32_t start = platform::TickCount();
    std::vector<std::uint8_t> frame;
    std::uint32_t lastByte = start;
    while (!gInterrupted && !port.Lost()) {
        const std::vector<std::uint8_t> bytes = link::ReadQueued(port);
        const std::uint32_t now = platform::TickCount();
        if (!bytes.empty()) {
            frame.insert(frame.end(), bytes.begin(), bytes.end());
            lastByte = now;
        } else if (!frame.empty() && now - lastByte >= gapMs) {
            std::printf("%8u ms  %s  (%s)\n", lastByte - start, link::Hex(frame).c_str(), link::Decode(frame).c_str());
            std::fflush(stdout);
            frame.clear();
        } else {
            platform::Pause(1);
        }
    }
    if (port.Lost()) {
        std::fprintf(stderr, "tarnel-link: %s: the device went away\n", port.Device().c_str());
        return kNotDone;
    }
    return kSuccess;
}

}  // namespace tarnel::tool
