#include "link/frame_shapes.h"

#include "link/crc16.h"
#include "link/protocol.h"

#include <algorithm>
#include <array>

namespace tarnel::link {
namespace {

// Address, function and check around a reply's payload.
constexpr std::size_t kFraming = 5;

}  // namespace

std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void Seal(std::span<std::uint8_t> frame)
{
    const std::uint16_t check = Crc16(frame.first(frame.size() - 2));
    frame[frame.size() - 2] = static_cast<std::uint8_t>(check >> 8);
    frame[frame.size() - 1] = static_cast<std::uint8_t>(check & 0xFF);
}

std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> body)
{
    body.resize(body.size() + 2);
    Seal(body);
    return body;
}

bool HasValidCheck(std::span<const std::uint8_t> frame)
{
    const std::uint16_t check = Crc16(frame.first(frame.size() - 2));
    return Word(frame, frame.size() - 2) == check;
}

std::span<const std::size_t> RequestLengths(std::uint8_t function)
{
    static constexpr std::array<std::size_t, 2> kLengths{8, 10};
    return std::span(kLengths).first(function == kWriteRegister ? 2 : 1);
}

bool RequestShaped(std::span<const std::uint8_t> frame)
{
    const auto lengths = RequestLengths(frame[1]);
    return std::ranges::find(lengths, frame.size()) != lengths.end();
}

std::size_t ReplyLength(std::span<const std::uint8_t> header)
{
    if (header.size() < 3) {
        return 0;
    }
    if (header[1] & kExceptionBit) {
        return kFraming;
    }
    if (header[1] == kReadInputRegisters) {
        return kFraming + header[2];
    }
    return header[1] == kWriteRegister ? kLongestReply : 0;
}

}  // namespace tarnel::link
