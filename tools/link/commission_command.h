#pragma once

#include "exchange_commands.h"

#include <cstdint>
#include <string>

namespace tarnel::tool {

// A site visit from a terminal (see site::Commissioning).
struct CommissionOptions {
    ExchangeOptions exchange;
    std::uint32_t factory = 1;
    std::uint32_t first = 1;
    std::uint32_t last = 255;
    std::uint32_t count = 0;  // controllers to do; 0: until Ctrl-C
    bool calibrate = false;
    std::string record = "commissioning.csv";
};

// Returns the exit status.
int RunCommission(const CommissionOptions& options);

}  // namespace tarnel::tool
