#include "link/answer_frames.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"

#include <algorithm>

namespace tarnel::link {

CutFrame NextFrame(std::span<const std::uint8_t> request, std::span<const std::uint8_t> bytes)
{
    const std::size_t common = std::min(request.size(), bytes.size());
    // Before any request there is nothing to echo.
    if (!request.empty() && !bytes.empty() && std::ranges::equal(request.first(common), bytes.first(common))) {
        if (common == request.size()) {
            return {FrameKind::Echo, common};
        }
        if (common == bytes.size()) {
            return {FrameKind::Incomplete, 0};
        }
    }
    // Another master's request, heard whole; a write's standard request has
    // the shape of its reply, which the caller tells apart.
    if (bytes.size() >= 2) {
        for (const std::size_t length : RequestLengths(bytes[1])) {
            if (bytes.size() >= length && length != ReplyLength(bytes) && HasValidCheck(bytes.first(length))) {
                return {FrameKind::Request, length};
            }
        }
    }
    if (bytes.size() < 3) {
        return {FrameKind::Incomplete, 0};
    }
    const std::size_t length = ReplyLength(bytes);
    if (length == 0) {
        return {FrameKind::Corrupt, bytes.size()};
    }
    if (bytes.size() < length) {
        return {FrameKind::Incomplete, 0};
    }
    return {HasValidCheck(bytes.first(length)) ? FrameKind::Reply : FrameKind::Corrupt, length};
}

bool Answers(std::span<const std::uint8_t> reply, std::span<const std::uint8_t> request)
{
    return reply.size() >= 2 && request.size() >= 2 && reply[0] == request[0] &&
           (reply[1] & ~kExceptionBit) == request[1];
}

}  // namespace tarnel::link
