#include "scan/address_walk.h"

#include "link/device_commands.h"

namespace tarnel::scan {

WalkStep ProbeNext(link::PortHandle& port, std::uint32_t& nextAddress, std::uint32_t periodMs)
{
    WalkStep step;
    step.probed = nextAddress++;
    step.answered = link::ProbeAddress(port, step.probed, periodMs);
    step.rangeDone = !step.answered && step.probed >= kLastAddress;
    return step;
}

}  // namespace tarnel::scan
