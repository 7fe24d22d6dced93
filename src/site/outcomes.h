#pragma once

#include <cstdint>

// What the site's work comes to, typed: each front end words it in its own
// language, and the record in its own fixed words.
namespace tarnel::site {

// What came back instead of a valid answer.
enum class Failure { NoAnswer, EchoOnly, Corrupt, Short, Refused };

struct AnswerFailure {
    Failure kind = Failure::NoAnswer;
    std::uint8_t exception = 0;  // the code a refusal carries

    bool operator==(const AnswerFailure&) const = default;
};

// The steps of a move that can fail.
enum class MoveStep { SetAddress, Verify };

// How a controller's move ended.
struct Outcome {
    enum class Kind {
        Moved,
        StepFailed,       // `step` got `failure`
        SecondAtFactory,  // another controller still answers at the address it came with
        AdapterLost,
        Stopped,
        OtherMaster,
    };
    Kind kind = Kind::Moved;
    MoveStep step = MoveStep::SetAddress;
    AnswerFailure failure{};

    bool operator==(const Outcome&) const = default;
};

// What became of a zero calibration.
struct Calibration {
    enum class Kind { NotAsked, Skipped, Calibrated, RopeDry, Failed };
    Kind kind = Kind::NotAsked;
    std::uint16_t value = 0;  // what a dry rope read
    AnswerFailure failure{};  // when it failed

    bool operator==(const Calibration&) const = default;
};

}  // namespace tarnel::site
