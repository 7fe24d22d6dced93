#pragma once

#include "site/bus.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnel::tool {

// A controller heard at an address: a valid or late reply, or a corrupt or
// short answer to a probe of it.
struct Found {
    std::uint32_t address;
    std::uint32_t baud;
    site::Heard kind;
    std::vector<std::uint8_t> answer;
    std::uint32_t responseMs;  // from the end of the probe on the wire to the first byte
};

struct ScanResult {
    std::vector<Found> found;
    std::uint32_t echoes = 0;  // probes that only came back from the adapter
    bool partial = false;      // stopped with Ctrl-C or by a lost device
};

// The results on standard output: an aligned table, or JSON.
void PrintTable(const ScanResult& result);
void PrintJson(const ScanResult& result);

// Where the scan is, on standard error: a bar redrawn in place on a
// terminal, as wide as the terminal; otherwise a plain line when a speed
// starts. Notes (what was found, late and corrupt answers) go above it.
class Progress {
public:
    Progress(std::uint32_t probes, std::uint32_t timeoutMs);
    void Speed(std::uint32_t baud, std::uint32_t from, std::uint32_t to);
    void Probed(std::uint32_t address, std::uint32_t baud, std::size_t found);
    void Note(const std::string& text);
    // Clears the bar, before the result prints.
    void Done();

private:
    void Clear();

    unsigned columns_;  // 0: not a terminal
    std::uint32_t probes_;
    std::uint32_t done_ = 0;
    std::uint32_t timeoutMs_;
    bool drawn_ = false;
};

}  // namespace tarnel::tool
