#include "site/listening.h"

#include <algorithm>

namespace tarnel::site {

void Listening::Start(const Bus& bus, std::uint32_t ms)
{
    end_ = bus.Line().Now() + std::chrono::milliseconds(ms);
}

bool Listening::Tick(Bus& bus)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - bus.Line().Now()).count();
    if (left > 0 && !bus.Interrupted()) {
        bus.Listen(static_cast<std::uint32_t>(std::min<std::int64_t>(left, kSliceMs)));
    }
    return bus.Line().Now() >= end_ || bus.Interrupted();
}

bool ReadyToAsk(Bus& bus)
{
    return bus.AwaitSilence(std::chrono::milliseconds(kSliceMs)) || bus.Stopped();
}

void ListenFor(Bus& bus, std::uint32_t ms)
{
    Listening listening;
    listening.Start(bus, ms);
    while (!listening.Tick(bus)) {
    }
}

}  // namespace tarnel::site
