#pragma once

#include <cstdint>
#include <span>
#include <string>

// Frames put into words for a technician: hex bytes and a short decoding.
// None of this takes part in judging an answer, which goes by length alone.
namespace tarnel::link {

// "01 04 40 02 00 01 85 CA"
std::string Hex(std::span<const std::uint8_t> bytes);

// "address 1, read input register 0x4002, check good": what a request or
// an answer on the bus says.
std::string Decode(std::span<const std::uint8_t> frame);

// What an answer that counted is, as far as its bytes tell.
enum class AnswerKind { ValidReply, EchoOfRequest, NotValid };
AnswerKind DescribeAnswer(std::span<const std::uint8_t> request, std::span<const std::uint8_t> answer);

// "valid reply", "echo of the request", "not a valid reply"
const char* Describe(AnswerKind kind);

}  // namespace tarnel::link
