#include "link/port_line.h"

#include <thread>

namespace tarnel::link {

void PortLine::Write(std::span<const std::uint8_t> bytes)
{
    port_.Write(bytes);
}

void PortLine::Purge()
{
    port_.Purge();
}

std::optional<HeardBytes> PortLine::Take()
{
    std::uint32_t queued = 0;
    if (!port_.ClearErrors(queued) || queued == 0) {
        return std::nullopt;
    }
    HeardBytes heard{Now(), std::vector<std::uint8_t>(queued)};
    heard.bytes.resize(port_.Read(heard.bytes));
    if (heard.bytes.empty()) {
        return std::nullopt;
    }
    return heard;
}

void PortLine::Wait(Micros time)
{
    std::this_thread::sleep_for(time);
}

}  // namespace tarnel::link
