#pragma once

#include "site/bus.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tarnel::site {

// What the doctor saw of one address that really answered.
struct AddressSeen {
    std::uint32_t address = 0;
    unsigned asked = 0;
    unsigned valid = 0;         // in time
    unsigned late = 0;          // valid, after the time-out
    unsigned corrupt = 0;       // in time or late
    unsigned shortAnswers = 0;  // in time or late
    unsigned collided = 0;      // garbled beyond its own address: more than one answered at once
    std::vector<std::uint32_t> responseMs{};  // of valid replies in time
    std::uint32_t latestMs = 0;             // of any answer after the time-out

    unsigned Garbled() const { return corrupt + shortAnswers; }
    unsigned Answers() const { return valid + late + Garbled(); }
};

// What it saw at one speed: first listening, then probing.
struct SpeedSeen {
    std::uint32_t baud = 0;
    std::size_t framesHeard = 0;  // whole frames of others while listening
    std::size_t noiseBytes = 0;   // bytes that made no frame nobody answered with
    std::optional<OtherMaster> otherMaster{};
    unsigned echoes = 0;
    std::vector<AddressSeen> addresses{};  // in the order they answered
};

struct Finding {
    enum class Kind {
        OtherMaster,        // `master` at `baud`
        NothingAnswers,
        CorruptEverywhere,  // every address that answers garbles
        WrongSpeed,         // `count` noise bytes at `baud`, whole frames at `otherBaud`
        Noise,              // `count` noise bytes at `baud`
        TwoControllers,     // at `address`: `count` corrupt of `of`; `neighboursClean`
        Echo,               // `count` requests sent back at `baud`
        Late,               // `address` answers after up to `latestMs`; `suggestedMs` would do
        Short,              // `address`: `count` short of `of`
    };
    Kind kind;
    std::optional<std::uint32_t> address{};
    std::uint32_t baud = 0;
    std::uint32_t otherBaud = 0;
    std::size_t count = 0;
    unsigned of = 0;
    bool neighboursClean = false;
    std::uint32_t latestMs = 0;
    std::uint32_t timeoutMs = 0;
    std::uint32_t suggestedMs = 0;
    std::optional<OtherMaster> master{};
};

struct Controller {
    std::uint32_t address, baud, minMs, medianMs, maxMs;
};

struct Diagnosis {
    std::vector<Controller> controllers;
    std::vector<Finding> findings;  // most serious first
    bool nothingAnswers = false;
};

// The findings from what was seen with `timeoutMs`.
Diagnosis Diagnose(const std::vector<SpeedSeen>& speeds, std::uint32_t timeoutMs);

}  // namespace tarnel::site
