#pragma once

#include "link/serial_port.h"

#include <chrono>
#include <csignal>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What every command that opens a port shares: which port, at which
// speeds, the trace of the traffic, and Ctrl-C.
namespace tarnel::tool {

// A port as the technician names it: a number, as in the window, or a path.
struct PortChoice {
    std::string text;

    // Opens it at `baudIndex`; on failure says why on standard error.
    link::PortHandle Open(int baudIndex) const;
};

// "9600" or "all"; nothing when the text names no speed of the table.
std::optional<std::vector<int>> BaudIndexes(const std::string& text);

// Each frame sent and received, with the time since the start, in hex and
// decoded, on standard error; silent unless switched on.
class Trace {
public:
    explicit Trace(bool on) : on_(on) {}
    void Sent(std::span<const std::uint8_t> frame) const { Print("->", frame); }
    void Received(std::span<const std::uint8_t> bytes) const { Print("<-", bytes); }

private:
    void Print(const char* direction, std::span<const std::uint8_t> bytes) const;

    bool on_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Set by Ctrl-C once InstallInterruptFlag has run.
extern volatile std::sig_atomic_t gInterrupted;
void InstallInterruptFlag();

}  // namespace tarnel::tool
