#include "link/frame_text.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"

#include <cstdio>

namespace tarnel::link {
namespace {

std::string Format(const char* format, unsigned a, unsigned b = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
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

}  // namespace tarnel::link
