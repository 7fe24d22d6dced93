// Frames put into words, and cut from what is heard after a request, on
// bytes from the input: the hex shows every byte, the decoding says "check
// good" only of a good check, and a cut takes no more than it was given.

#include "frame_decoding.h"
#include "link/answer_frames.h"
#include "link/frame_shapes.h"
#include "link/frame_text.h"
#include "link/frames.h"
#include "require.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnel::link;
    const std::span<const std::uint8_t> bytes(data, size);
    Require(Hex(bytes).size() == (size == 0 ? 0 : 3 * size - 1));
    const std::string decoded = tarnel::tool::Decode(bytes);
    Require((decoded.find("check good") != std::string::npos) == (size >= 4 && HasValidCheck(bytes)));

    const auto probe = ProbeFrame(size == 0 ? 0 : data[0]);
    const CutFrame cut = NextFrame(probe, bytes);
    Require(cut.length <= size);
    Require((cut.kind == FrameKind::Incomplete) == (cut.length == 0));
    if (cut.kind == FrameKind::Reply) {
        Require(HasValidCheck(bytes.first(cut.length)) && cut.length == ReplyLength(bytes));
    }
    if (cut.kind == FrameKind::Request) {
        Require(HasValidCheck(bytes.first(cut.length)) && std::ranges::count(RequestLengths(data[1]), cut.length) == 1);
    }
    if (cut.kind == FrameKind::Echo) {
        Require(std::ranges::equal(bytes.first(cut.length), probe));
    }
    return 0;
}
