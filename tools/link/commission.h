#pragma once

#include "bus.h"
#include "exchange_commands.h"
#include "platform/append_file.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace tarnel::tool {

// A site visit: new controllers, all at the factory address, connected one
// after another, each given the next free address, verified, optionally
// zero-calibrated, and written to the record before the next is asked for.
struct CommissionOptions {
    ExchangeOptions exchange;
    std::uint32_t factory = 1;
    std::uint32_t first = 1;
    std::uint32_t last = 255;
    std::uint32_t count = 0;  // controllers to do; 0: until Ctrl-C
    bool calibrate = false;
    std::string record = "commissioning.csv";
};

int RunCommission(const CommissionOptions& options);

// The same on a bus and a record already open, whose rows gave out the
// addresses `recorded`.
int Commission(Bus& bus, const CommissionOptions& options, platform::AppendFile& record, const std::string& recordPath,
               std::set<std::uint32_t> recorded);

// Where numbering starts: after the highest recorded address from `first`
// to `last`, so that the next visit goes on where the last one ended.
std::uint32_t NumberingStart(std::uint32_t first, std::uint32_t last, const std::set<std::uint32_t>& recorded);

// The first address from `from` up to `last` that is neither the factory
// address nor recorded; none when every one is.
std::optional<std::uint32_t> NextFreeAddress(std::uint32_t from, std::uint32_t last, std::uint32_t factory,
                                             const std::set<std::uint32_t>& recorded);

// A calibration's answer as the record names it: "calibrated", "rope dry
// (value 0x0123)", "no answer", "corrupt answer", "refused (exception 2)".
std::string CalibrationResult(const Answer& answer);

}  // namespace tarnel::tool
