#include "interrupt.h"

#include <csignal>

namespace tarnel::tool {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

}  // namespace

InterruptStop::InterruptStop()
{
    std::signal(SIGINT, [](int) { gInterrupted = 1; });
}

bool InterruptStop::StopRequested() const
{
    return gInterrupted != 0;
}

}  // namespace tarnel::tool
