// The joiner on pieces from the input, each at a time from the input: every
// byte comes out once, in order, and a frame called whole has a good check.

#include "frame_joiner.h"
#include "link/frame_shapes.h"
#include "require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tarnel::tool::FrameJoiner joiner(9600);
    std::vector<std::uint8_t> fed, given;
    const auto take = [&given](const std::vector<tarnel::tool::FrameJoiner::Frame>& frames) {
        for (const auto& frame : frames) {
            Require(!frame.bytes.empty() && (!frame.whole || tarnel::link::HasValidCheck(frame.bytes)));
            given.insert(given.end(), frame.bytes.begin(), frame.bytes.end());
        }
    };
    tarnel::link::Micros at{0};
    // Each piece: its length, the pause before the next in ms, its bytes.
    for (std::size_t i = 0; i + 2 <= size;) {
        const std::size_t length = std::min<std::size_t>(data[i] % 16 + 1, size - i - 2);
        const auto pause = std::chrono::milliseconds(data[i + 1] % 40);
        const std::vector<std::uint8_t> piece(data + i + 2, data + i + 2 + length);
        fed.insert(fed.end(), piece.begin(), piece.end());
        if (!piece.empty()) {
            take(joiner.Feed({at, piece}));
        }
        at += pause;
        i += 2 + length;
    }
    take(joiner.Flush(tarnel::link::Micros::max()));
    Require(given == fed);
    return 0;
}
