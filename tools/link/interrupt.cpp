#include "interrupt.h"

#include <csignal>

namespace tarnel::tool {
namespace {

// A signal handler can only set a flag of this type; each run starts it afresh.
volatile std::sig_atomic_t gInterrupted = 0;

}  // namespace

InterruptStop::InterruptStop()
{
    gInterrupted = 0;
    std::signal(SIGINT, [](int) { gInterrupted = 1; });
}

InterruptStop::~InterruptStop()
{
    std::signal(SIGINT, SIG_DFL);
}

bool InterruptStop::StopRequested() const
{
    return gInterrupted != 0;
}

}  // namespace tarnel::tool
