#pragma once

#include "controller_bus.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel::sim {

struct Options {
    std::string device;  // empty: make a pseudo-terminal
    unsigned baud = 9600;
    bool lineTime = false;  // answer at the pace of a real line
    bool echo = false;      // send every request back, as an adapter that hears itself
    std::vector<Controller> controllers;
    // Another master on the bus, probing this address every so often.
    struct OtherMaster {
        unsigned address = 0;
        unsigned periodMs = 0;
    };
    std::optional<OtherMaster> master;
    unsigned noiseMs = 0;  // random bytes on the idle line about this often; 0: none
};

// The help text, in the user's language.
std::string Usage();

// A bus address, 0 to 255; on a mistake returns nothing and says why in `error`.
std::optional<unsigned> ParseAddress(std::string_view text, std::string& error);

// One CONTROLLER, ADDRESS[,OPTION...], as the command line and the console
// give it; on a mistake returns nothing and says why in `error`.
std::optional<Controller> ParseController(std::string_view text, std::string& error);

// What the banner and the console say of a controller: "answers after 100 ms, rope dry".
std::string Describe(const Controller& controller);

// Reads the command line; on a mistake returns nothing and says why in `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace tarnel::sim
