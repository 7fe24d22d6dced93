// The simulator's request framer on bytes from the input, fed in pieces:
// every frame it accepts has a request's length and a good check, and the
// frames appear in the input, in order, without overlapping.

#include "link/frame_shapes.h"
#include "request_framer.h"
#include "require.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const std::size_t piece = data[0] % 12 + 1;
    const std::span<const std::uint8_t> input(data + 1, size - 1);
    tarnel::sim::RequestFramer framer;
    std::size_t searchFrom = 0;
    for (std::size_t at = 0; at < input.size(); at += piece) {
        for (const auto& frame : framer.Feed(input.subspan(at, std::min(piece, input.size() - at)))) {
            const auto lengths = tarnel::link::RequestLengths(frame[1]);
            Require(std::ranges::find(lengths, frame.size()) != lengths.end());
            Require(tarnel::link::HasValidCheck(frame));
            const auto found = std::search(input.begin() + static_cast<std::ptrdiff_t>(searchFrom), input.end(),
                                           frame.begin(), frame.end());
            Require(found != input.end());
            searchFrom = static_cast<std::size_t>(found - input.begin()) + frame.size();
        }
    }
    return 0;
}
