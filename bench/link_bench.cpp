// How quickly a probe notices its answer, and what a silent wait costs.

#include "link/device_commands.h"
#include "link/port_line.h"
#include "link/serial_port.h"
#include "pseudo_terminal.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <sys/resource.h>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Time from the device writing the 7th byte of its answer to ProbeAddress
// returning. The wait queries the queue, pauses 2 ms, then judges that query,
// so an answer is noticed 2 to 4 ms after it arrives. A real answer comes
// after the request and the reply have crossed the line, at no fixed phase
// of the poll; the device here answers after a random 0-2 ms to match.
void ProbeDetectionLatency(benchmark::State& state)
{
    std::mt19937 random(42);
    std::uniform_int_distribution<int> phaseUs(0, 1999);
    tarnel::test::PseudoTerminal pty;
    tarnel::test::PortsOverride ports(pty.SlavePath());
    tarnel::platform::SerialLine port = tarnel::link::OpenPort(1, 3);
    tarnel::link::PortLine line(port);
    std::atomic<Clock::rep> answeredAt{0};
    for (auto _ : state) {
        std::thread device([&] {
            pty.Receive(1s, 8);
            std::this_thread::sleep_for(std::chrono::microseconds(phaseUs(random)));
            pty.Send({0x05, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00});
            answeredAt = Clock::now().time_since_epoch().count();
        });
        const bool found = tarnel::link::ProbeAddress(line, 5, 1000);
        const auto returnedAt = Clock::now().time_since_epoch().count();
        device.join();
        if (!found) {
            state.SkipWithError("the probe missed its answer");
            break;
        }
        state.SetIterationTime(static_cast<double>(returnedAt - answeredAt) * Clock::period::num / Clock::period::den);
    }
}
BENCHMARK(ProbeDetectionLatency)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(200)
    ->ComputeStatistics("p99",
                        [](const std::vector<double>& v) {
                            std::vector<double> sorted = v;
                            std::sort(sorted.begin(), sorted.end());
                            return sorted[static_cast<std::size_t>(0.99 * static_cast<double>(sorted.size() - 1))];
                        })
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

double ProcessCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Share of one core that a probe's 1000 ms wait on a silent line uses.
void SilentWaitCpuShare(benchmark::State& state)
{
    tarnel::test::PseudoTerminal pty;
    tarnel::test::PortsOverride ports(pty.SlavePath());
    tarnel::platform::SerialLine port = tarnel::link::OpenPort(1, 3);
    tarnel::link::PortLine line(port);
    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = Clock::now();
        benchmark::DoNotOptimize(tarnel::link::ProbeAddress(line, 5, 1000));
        wall += std::chrono::duration<double>(Clock::now() - start).count();
        cpu += ProcessCpuSeconds() - cpuBefore;
    }
    state.counters["cpu_percent_of_one_core"] = 100.0 * cpu / wall;
}
BENCHMARK(SilentWaitCpuShare)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
