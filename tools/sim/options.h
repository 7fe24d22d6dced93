#pragma once

#include "controller_bus.h"

#include <optional>
#include <string>
#include <vector>

namespace tarnel::sim {

struct Options {
    std::string device;  // empty: make a pseudo-terminal
    unsigned baud = 9600;
    bool lineTime = false;  // answer at the pace of a real line
    bool echo = false;      // send every request back, as an adapter that hears itself
    std::vector<Controller> controllers;
};

extern const char* const kUsage;

// Reads the command line; on a mistake returns nothing and says why in `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

}  // namespace tarnel::sim
