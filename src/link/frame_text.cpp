#include "link/frame_text.h"

#include "link/protocol.h"

#include <algorithm>
#include <cstdio>

namespace tarnel::link {
namespace {

constexpr std::uint8_t kExceptionBit = 0x80;

std::string Format(const char* format, unsigned a, unsigned b = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

unsigned Word(std::span<const std::uint8_t> frame, std::size_t at)
{
    return static_cast<unsigned>(frame[at] << 8 | frame[at + 1]);
}

// The length of the reply that `answer` begins with, read from its first
// bytes; 0 when they name no reply the controller gives.
std::size_t ReplyLength(std::span<const std::uint8_t> answer)
{
    if (answer.size() < 3) {
        return 0;
    }
    if (answer[1] & kExceptionBit) {
        return 5;
    }
    if (answer[1] == kReadInputRegisters) {
        return 5u + answer[2];
    }
    return answer[1] == kWriteRegister ? 8 : 0;
}

std::string Meaning(std::span<const std::uint8_t> frame)
{
    const unsigned function = frame[1];
    if (function & kExceptionBit) {
        return Format("exception %u to function %02X", frame[2], function & ~kExceptionBit);
    }
    if (function == kReadInputRegisters && frame.size() == 8) {
        return Format("read input register 0x%04X x%u", Word(frame, 2), Word(frame, 4));
    }
    if (function == kReadInputRegisters && frame.size() == 7 && frame[2] == 2) {
        return Format("register value 0x%04X", Word(frame, 3));
    }
    if (function == kWriteRegister && frame.size() == 8) {
        return Format("write register 0x%04X = %u", Word(frame, 2), Word(frame, 4));
    }
    if (function == kWriteRegister && frame.size() == 10) {
        return Format("write register 0x%04X = %u (long form)", Word(frame, 2), Word(frame, 6));
    }
    return Format("function %02X, %u bytes", function, static_cast<unsigned>(frame.size()));
}

}  // namespace

std::string Hex(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += Format(text.empty() ? "%02X" : " %02X", byte);
    }
    return text;
}

std::string Decode(std::span<const std::uint8_t> frame)
{
    if (frame.size() < 4) {
        return "too short for a frame";
    }
    return Format("address %u, ", frame[0]) + Meaning(frame) +
           (HasValidCheck(frame) ? ", check good" : ", check bad");
}

AnswerKind DescribeAnswer(std::span<const std::uint8_t> request, std::span<const std::uint8_t> answer)
{
    if (answer.size() >= request.size() && std::ranges::equal(request, answer.first(request.size()))) {
        return AnswerKind::EchoOfRequest;
    }
    const std::size_t length = ReplyLength(answer);
    const bool valid = length != 0 && length <= answer.size() && answer[0] == request[0] &&
                       (answer[1] & ~kExceptionBit) == request[1] && HasValidCheck(answer.first(length));
    return valid ? AnswerKind::ValidReply : AnswerKind::NotValid;
}

const char* Describe(AnswerKind kind)
{
    switch (kind) {
    case AnswerKind::ValidReply: return "valid reply";
    case AnswerKind::EchoOfRequest: return "echo of the request";
    case AnswerKind::NotValid: break;
    }
    return "not a valid reply";
}

}  // namespace tarnel::link
