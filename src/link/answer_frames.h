#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Cutting the bytes heard after a request into frames, and telling which
// request a reply answers.
namespace tarnel::link {

enum class FrameKind {
    Reply,       // a whole reply frame whose check holds
    Echo,        // the request itself, heard back from an echoing adapter
    Request,     // a whole frame in a request's shape that no reply has, check good
    Corrupt,     // a reply whose check fails, or bytes that start no reply
    Incomplete,  // too few bytes yet to tell
};

struct CutFrame {
    FrameKind kind;
    std::size_t length;  // bytes the frame takes from the start
};

// The frame at the start of `bytes`, heard on the line after `request`.
CutFrame NextFrame(std::span<const std::uint8_t> request, std::span<const std::uint8_t> bytes);

// Whether `reply`, a whole frame with a good check, answers `request`: the
// same address and function, an exception reply included.
bool Answers(std::span<const std::uint8_t> reply, std::span<const std::uint8_t> request);

}  // namespace tarnel::link
