// The monitor's pipeline on bytes arriving at times from the input: the
// splitter cuts them at silences, the joiner puts burst pieces together
// again. Every byte fed comes out once, in order; frames start in order,
// never after they were given out; a frame called whole has a good check.

#include "link/frame_shapes.h"
#include "require.h"
#include "site/frame_joiner.h"
#include "site/frame_splitter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using tarnel::link::Micros;
    using namespace tarnel::site;
    if (size < 1) {
        return 0;
    }
    constexpr std::uint32_t kBauds[] = {1200, 2400, 4800, 9600, 19200, 115200};
    const std::uint32_t baud = kBauds[data[0] % 6];
    FrameSplitter splitter(baud);
    FrameJoiner joiner(baud);
    std::vector<std::uint8_t> fed;
    std::vector<std::uint8_t> given;
    Micros now{0};
    Micros lastStart{-1};
    const auto take = [&](const std::vector<FrameJoiner::Frame>& frames) {
        for (const FrameJoiner::Frame& frame : frames) {
            Require(!frame.bytes.empty() && frame.start >= lastStart && frame.start <= now);
            Require(!frame.whole || tarnel::link::HasValidCheck(frame.bytes));
            lastStart = frame.start;
            given.insert(given.end(), frame.bytes.begin(), frame.bytes.end());
        }
    };
    // Then pieces: a pause (in 0.1 ms), a length, the bytes.
    for (std::size_t at = 1; at + 2 <= size;) {
        now += Micros(data[at] * 100);
        const std::size_t count = std::min<std::size_t>(data[at + 1] % 16, size - at - 2);
        const std::span<const std::uint8_t> bytes(data + at + 2, count);
        const auto piece = count ? splitter.Feed(bytes, now) : splitter.Flush(now);
        take(piece ? joiner.Feed(*piece) : joiner.Flush(now));
        fed.insert(fed.end(), bytes.begin(), bytes.end());
        at += 2 + count;
    }
    now = Micros::max();
    if (const auto last = splitter.Flush(now)) {
        take(joiner.Feed(*last));
    }
    take(joiner.Flush(now));
    Require(given == fed);
    return 0;
}
