#pragma once

#include "link/line.h"
#include "platform/serial_line.h"

namespace tarnel::link {

// A line on an open serial port (or none: then nothing is sent or heard,
// and waits still take their time), on the system's steady clock.
class PortLine : public Line {
public:
    explicit PortLine(platform::SerialLine& port, const StopSource* stop = nullptr) : port_(port), stop_(stop) {}

    void Write(std::span<const std::uint8_t> bytes) override;
    void Purge() override;
    std::optional<HeardBytes> Take() override;
    std::error_code Lost() const override { return port_.Lost(); }
    TimePoint Now() const override { return LineClock::now(); }
    void Wait(Micros time) override;
    bool StopRequested() const override { return stop_ && stop_->StopRequested(); }

private:
    platform::SerialLine& port_;
    const StopSource* stop_;
};

}  // namespace tarnel::link
