// Frames put into words for the trace and the monitor, on bytes from the
// input: the hex shows every byte, and the decoding says "check good" only of
// a good check.

#include "frame_decoding.h"
#include "link/frame_shapes.h"
#include "link/frame_text.h"
#include "require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnel::link;
    const std::span<const std::uint8_t> bytes(data, size);
    Require(Hex(bytes).size() == (size == 0 ? 0 : 3 * size - 1));
    const std::string decoded = tarnel::tool::Decode(bytes);
    Require((decoded.find("check good") != std::string::npos) == (size >= 4 && HasValidCheck(bytes)));
    return 0;
}
