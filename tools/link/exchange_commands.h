#pragma once

#include "bus.h"
#include "console.h"
#include "port_choice.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace tarnel::tool {

// How one exchange with one controller goes.
struct ExchangeOptions {
    PortChoice port;
    int baudIndex = 3;
    std::uint32_t timeoutMs = 500;
    bool trace = false;
    std::uint32_t listenMs = 500;  // before the first request, for another master
    bool force = false;            // send even while another master uses the bus
};

struct MoveOptions {
    std::uint32_t oldAddress = 0;
    std::uint32_t newAddress = 0;
    bool force = false;  // move even when something answers at the new address
    bool verify = false;
    std::uint32_t settleMs = 100;  // before the verifying probe
};

// Where a job's lines for the technician go.
using Say = std::function<void(const std::string&)>;

// Asks once; when nothing answers in time, listens on for a late answer,
// which then counts as the answer.
Answer AskListeningLate(Bus& bus, std::span<const std::uint8_t> request, std::uint32_t timeoutMs);

// An exception reply: the controller refused.
bool Refusal(const HeardFrame& frame);

// A reply in time or late that does what was asked: not an exception.
bool Valid(const Answer& answer);

// The value a calibration's reply carries: 0 when the rope was zeroed.
unsigned CalibrationValue(const HeardFrame& reply);

// Opens the line as the options say and runs `job` on its bus, unless
// another master uses it; the exit status is the job's, that of a port that
// did not open, or that of another master heard.
int OnBus(const ExchangeOptions& options, const std::function<int(Bus&)>& job);

// Each returns the exit status.

// Moves the controller at OLD to NEW: refuses when something answers at NEW
// already, and with `verify` accepts the move only when NEW answers.
int MoveAddress(Bus& bus, const MoveOptions& move, std::uint32_t timeoutMs, const Say& say);

// Zero-calibrates the rope of channel A.
int Calibrate(Bus& bus, std::uint32_t address, std::uint32_t timeoutMs, const Say& say);

// The same on the port the options name, saying each line on standard output.
int RunSetAddress(const ExchangeOptions& options, const MoveOptions& move);
int RunCalibrate(const ExchangeOptions& options, std::uint32_t address);

}  // namespace tarnel::tool
