#pragma once

#include "site/frame_joiner.h"
#include "site/spread.h"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tarnel::site {

// What a watch of the bus comes to.
struct BusSummary {
    struct PerAddress {
        unsigned address = 0;
        unsigned frames = 0;
        unsigned badChecks = 0;
        std::optional<Spread<double>> responseMs;
    };
    double seconds = 0;
    unsigned frames = 0;
    unsigned badChecks = 0;
    unsigned shortGaps = 0;  // between two frames, shorter than 3.5 characters
    std::vector<PerAddress> addresses;
};

// Sums a watch of the bus up: frames per second, the share with a bad check
// and response times, per address, and gaps between frames shorter than 3.5
// characters. A reply is paired with the request before it.
class BusStatistics {
public:
    explicit BusStatistics(std::uint32_t baud) : baud_(baud) {}

    void Add(const FrameJoiner::Frame& frame);

    // For `elapsed` of watching.
    BusSummary Summary(link::Micros elapsed) const;

private:
    struct PerAddress {
        unsigned frames = 0;
        unsigned badChecks = 0;
        std::vector<double> responseMs;
    };
    struct Request {
        std::uint8_t address;
        std::uint8_t function;
        link::Micros end;
    };

    std::uint32_t baud_;
    unsigned frames_ = 0;
    unsigned badChecks_ = 0;
    unsigned shortGaps_ = 0;
    std::optional<link::Micros> lastEnd_;
    std::optional<Request> request_;  // waiting for its reply
    std::map<unsigned, PerAddress> perAddress_;
};

}  // namespace tarnel::site
