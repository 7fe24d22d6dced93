#pragma once

#include "port_choice.h"
#include "site/bus.h"
#include "site/other_master.h"

#include <cstdint>
#include <functional>
#include <optional>
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

// Opens the line as the options say and runs `job` on its bus, unless
// another master uses it; the exit status is the job's, that of a port that
// did not open, or that of another master heard.
int OnBus(const ExchangeOptions& options, const std::function<int(site::Bus&)>& job);

// Says what became of the bus's sharing with `master`, when one was heard,
// and gives the exit status that follows from the job's.
int SharingStatus(site::Sharing sharing, const std::optional<site::OtherMaster>& master, int status);

// Each returns the exit status.

// Moves the controller at OLD to NEW: refuses when something answers at NEW
// already, and with `verify` accepts the move only when NEW answers.
int MoveAddress(site::Bus& bus, const MoveOptions& move, std::uint32_t timeoutMs, const Say& say);

// Zero-calibrates the rope of channel A.
int Calibrate(site::Bus& bus, std::uint32_t address, std::uint32_t timeoutMs, const Say& say);

// The same on the port the options name, saying each line on standard output.
int RunSetAddress(const ExchangeOptions& options, const MoveOptions& move);
int RunCalibrate(const ExchangeOptions& options, std::uint32_t address);

}  // namespace tarnel::tool
