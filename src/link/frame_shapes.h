#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The shapes of the frames on the bus, each written once: how long a
// request or a reply is, where its check goes, how a 16-bit word is laid out.
namespace tarnel::link {

// A big-endian word at `at`.
std::uint16_t Word(std::span<const std::uint8_t> bytes, std::size_t at);

// Fills the last two bytes of `frame` with the check over the bytes before them.
void Seal(std::span<std::uint8_t> frame);

// `body` with its check appended.
std::vector<std::uint8_t> Sealed(std::vector<std::uint8_t> body);

// Whether `frame` (at least 3 bytes) ends in the check over the bytes before it.
bool HasValidCheck(std::span<const std::uint8_t> frame);

// The lengths a request with this function code may have, shortest first:
// the standard 8 bytes (address, function, two words, check), and for
// function 0x06 also the 10-byte form the service tool sends.
std::span<const std::size_t> RequestLengths(std::uint8_t function);

// Whether `frame` (at least 2 bytes) is as long as a request of its function.
bool RequestShaped(std::span<const std::uint8_t> frame);

// The length a reply announces in its first three bytes (address, function,
// byte count); 0 when they name no reply a controller gives or are too few.
std::size_t ReplyLength(std::span<const std::uint8_t> header);

// The longest reply a controller gives: the echo of a change of address.
constexpr std::size_t kLongestReply = 8;

}  // namespace tarnel::link
