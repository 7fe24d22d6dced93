#include "frame_decoding.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"
#include "messages/messages.h"

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

std::string Meaning(std::span<const std::uint8_t> frame)
{
    const unsigned function = frame[1];
    if (function & link::kExceptionBit) {
        return Format(Tr("exception %u to function %02X"), frame[2], function & ~link::kExceptionBit);
    }
    if (function == link::kReadInputRegisters && frame.size() == 8) {
        return Format(Tr("read input register 0x%04X x%u"), link::Word(frame, 2), link::Word(frame, 4));
    }
    if (function == link::kReadInputRegisters && frame.size() == 7 && frame[2] == 2) {
        return Format(Tr("register value 0x%04X"), link::Word(frame, 3));
    }
    if (function == link::kWriteRegister && frame.size() == 8) {
        return Format(Tr("write register 0x%04X = %u"), link::Word(frame, 2), link::Word(frame, 4));
    }
    if (function == link::kWriteRegister && frame.size() == 10) {
        return Format(Tr("write register 0x%04X = %u (long form)"), link::Word(frame, 2), link::Word(frame, 6));
    }
    return Format(Tr("function %02X, %u bytes"), function, static_cast<unsigned>(frame.size()));
}

}  // namespace

std::string Decode(std::span<const std::uint8_t> frame)
{
    if (frame.size() < 4) {
        return Tr("too short for a frame");
    }
    return Format(link::HasValidCheck(frame) ? Tr("address %u, %s, check good") : Tr("address %u, %s, check bad"),
                  frame[0], Meaning(frame).c_str());
}

}  // namespace tarnel::tool
