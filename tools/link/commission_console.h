#pragma once

#include "site/commissioning_view.h"

#include <cstdint>
#include <string>

namespace tarnel::tool {

// A commissioning run's events as lines on standard output, and its exit
// status once it has ended.
class CommissionConsole : public site::CommissioningView {
public:
    struct Setting {
        std::uint32_t factory = 1;
        std::uint32_t first = 1;
        std::uint32_t last = 255;
        std::string recordPath;
        bool interactive = false;  // a person answers at standard input
        bool bell = false;         // standard output is a terminal
        bool force = false;        // sent even while another master used the bus
    };

    explicit CommissionConsole(Setting setting) : setting_(std::move(setting)) {}

    void Stepped(site::CommissionStep step, std::uint32_t address, unsigned done) override;
    void Skipped(std::uint32_t address) override;
    void SeveralAtFactory(std::uint32_t factory) override;
    void SecondAtFactory(std::uint32_t factory) override;
    void RopeDry(std::uint32_t address, std::uint16_t value) override;
    void Recorded(const site::RecordRow& row) override;
    void NotRecorded(const site::RecordRow& row, std::error_code error) override;
    void Ended(const site::CommissionEnd& end) override;

    // Since the rope was last asked for, it read dry.
    bool RopeWasDry() const { return ropeDry_; }
    int Status() const { return status_; }

private:
    void Summary(const site::Tally& tally) const;

    Setting setting_;
    bool ropeDry_ = false;
    int status_ = 0;
};

}  // namespace tarnel::tool
