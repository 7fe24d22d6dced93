#pragma once

#include "bus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnel::tool {

// What the doctor saw of one address that answered anything.
struct AddressSeen {
    std::uint32_t address = 0;
    unsigned asked = 0;
    unsigned valid = 0;
    unsigned corrupt = 0;
    unsigned shortAnswers = 0;
    unsigned late = 0;
    std::vector<std::uint32_t> responseMs;  // of valid replies in time
    std::uint32_t latestMs = 0;             // of the late ones
};

// What it saw at one speed: first listening, then probing.
struct SpeedSeen {
    std::uint32_t baud = 0;
    std::size_t framesHeard = 0;  // whole frames of others while listening
    std::size_t noiseBytes = 0;   // bytes on the idle line that made no frame
    std::optional<OtherMaster> otherMaster;
    unsigned echoes = 0;
    std::vector<AddressSeen> addresses;
};

struct Finding {
    std::string kind;  // for machines: "other-master", "two-controllers", ...
    std::optional<std::uint32_t> address;
    std::string detail;
    std::string fix;
};

struct Controller {
    std::uint32_t address, baud, minMs, medianMs, maxMs;
};

struct Diagnosis {
    std::vector<Controller> controllers;
    std::vector<Finding> findings;  // most serious first
    bool nothingAnswers = false;
};

// The findings, each with its fix, from what was seen with `timeoutMs`.
Diagnosis Diagnose(const std::vector<SpeedSeen>& speeds, std::uint32_t timeoutMs);

}  // namespace tarnel::tool
