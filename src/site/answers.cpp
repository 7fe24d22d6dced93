#include "site/answers.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"

namespace tarnel::site {

bool Refusal(const HeardFrame& frame)
{
    return (frame.kind == Heard::Reply || frame.kind == Heard::Late) && (frame.bytes[1] & link::kExceptionBit);
}

bool Valid(const Answer& answer)
{
    return !FailureOf(answer);
}

std::optional<AnswerFailure> FailureOf(const Answer& answer)
{
    if (!answer.frame) {
        return AnswerFailure{answer.echoed ? Failure::EchoOnly : Failure::NoAnswer};
    }
    const HeardFrame& frame = *answer.frame;
    if (Refusal(frame)) {
        return AnswerFailure{Failure::Refused, frame.bytes[2]};
    }
    if (frame.kind == Heard::Reply || frame.kind == Heard::Late) {
        return std::nullopt;
    }
    return AnswerFailure{frame.kind == Heard::Short ? Failure::Short : Failure::Corrupt};
}

std::uint16_t CalibrationValue(const HeardFrame& reply)
{
    // A reply too short to carry a value reads as not calibrated.
    return reply.bytes.size() >= 7 ? link::Word(reply.bytes, 3) : 0xFFFF;
}

}  // namespace tarnel::site
