// The monitor's splitter on bytes arriving at times from the input: the
// frames it ends hold every byte fed, once, in order, and start in order.

#include "frame_splitter.h"
#include "require.h"


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using tarnel::link::Micros;
    if (size < 1) {
        return 0;
    }
    constexpr std::uint32_t kBauds[] = {1200, 2400, 4800, 9600, 19200, 115200};
    tarnel::tool::FrameSplitter splitter(kBauds[data[0] % 6]);
    std::vector<std::uint8_t> fed;
    std::vector<std::uint8_t> framed;
    Micros now{0};
    Micros lastStart{-1};
    const auto take = [&](const std::optional<tarnel::tool::FrameSplitter::Frame>& frame) {
        if (frame) {
            Require(!frame->bytes.empty() && frame->start >= lastStart && frame->start <= now);
            lastStart = frame->start;
            framed.insert(framed.end(), frame->bytes.begin(), frame->bytes.end());
        }
    };
    // Then pieces: a pause (in 0.1 ms), a length, the bytes.
    for (std::size_t at = 1; at + 2 <= size;) {
        now += Micros(data[at] * 100);
        const std::size_t count = std::min<std::size_t>(data[at + 1] % 16, size - at - 2);
        const std::span<const std::uint8_t> bytes(data + at + 2, count);
        take(count ? splitter.Feed(bytes, now) : splitter.Flush(now));
        fed.insert(fed.end(), bytes.begin(), bytes.end());
        at += 2 + count;
    }
    take(splitter.Flush(Micros::max()));
    Require(framed == fed);
    return 0;
}
