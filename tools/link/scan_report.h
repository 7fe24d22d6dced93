#pragma once

#include "link/frame_text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarnel::tool {

// A controller that answered a probe.
struct Found {
    std::uint32_t address;
    std::uint32_t baud;
    std::vector<std::uint8_t> answer;
    link::AnswerKind kind;
};

// The results on standard output: an aligned table, or JSON.
void PrintTable(const std::vector<Found>& found);
void PrintJson(const std::vector<Found>& found);

// Where the scan is, on standard error: a bar redrawn in place on a
// terminal, otherwise a plain line when a speed starts or a controller answers.
class Progress {
public:
    Progress(std::uint32_t probes, std::uint32_t timeoutMs);
    void Speed(std::uint32_t baud, std::uint32_t from, std::uint32_t to);
    void Probed(std::uint32_t address, std::uint32_t baud, const std::vector<Found>& found);
    void Done();

private:
    bool terminal_;
    std::uint32_t probes_;
    std::uint32_t done_ = 0;
    std::uint32_t timeoutMs_;
};

}  // namespace tarnel::tool
