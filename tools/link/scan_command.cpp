#include "scan_command.h"

#include "exit_codes.h"
#include "link/device_commands.h"
#include "link/frames.h"
#include "link/protocol.h"
#include "scan_report.h"

#include <algorithm>
#include <cstdio>

namespace tarnel::tool {
namespace {

bool Known(const std::vector<Found>& found, std::uint32_t address)
{
    return std::ranges::any_of(found, [address](const Found& f) { return f.address == address; });
}

}  // namespace

int RunScan(const ScanRequest& request)
{
    InstallInterruptFlag();
    const Trace trace(request.trace);
    const std::uint32_t perSpeed = request.to - request.from + 1;
    Progress progress(perSpeed * static_cast<std::uint32_t>(request.baudIndexes.size()), request.timeoutMs);
    std::vector<Found> found;
    bool done = false;
    int failed = kSuccess;  // the port did not open, or its device went away
    for (const int baudIndex : request.baudIndexes) {
        const std::uint32_t baud = link::kBaudRates[static_cast<std::size_t>(baudIndex)].rate;
        link::PortHandle port = request.port.Open(baudIndex);
        if (!port.IsOpen()) {
            failed = kCannotOpen;
            break;
        }
        progress.Speed(baud, request.from, request.to);
        for (std::uint32_t address = request.from; address <= request.to && !done && !gInterrupted; ++address) {
            // A controller found at one speed is not looked for at the next.
            if (!Known(found, address)) {
                const link::ShortFrame probe = link::ProbeFrame(address);
                trace.Sent(probe);
                const bool answered = link::ProbeAddress(port, address, request.timeoutMs);
                const std::vector<std::uint8_t> answer = link::ReadQueued(port);
                trace.Received(answer);
                if (answered) {
                    found.push_back({address, baud, answer, link::DescribeAnswer(probe, answer)});
                    done = !request.all;
                }
                if (port.Lost()) {
                    std::fprintf(stderr, "\ntarnel-link: %s: the device went away\n", port.Device().c_str());
                    failed = kNotDone;
                    done = true;
                }
            }
            progress.Probed(address, baud, found);
        }
        if (done || gInterrupted) {
            break;
        }
    }
    progress.Done();

    if (request.json) {
        PrintJson(found);
    } else if (!found.empty()) {
        PrintTable(found);
    }
    if (!found.empty() && std::ranges::all_of(found, [](const Found& f) {
            return f.kind == link::AnswerKind::EchoOfRequest;
        })) {
        std::fprintf(stderr, "Every answer was an exact echo of the probe: the adapter hears what it sends. "
                             "Switch off its echo (or check the wiring); these are not controllers.\n");
    }
    if (gInterrupted) {
        std::fprintf(stderr, "interrupted\n");
        return kInterrupted;
    }
    if (failed != kSuccess) {
        return failed;
    }
    if (found.empty()) {
        std::fprintf(stderr, "no controller answered\n");
        return kNotDone;
    }
    return kSuccess;
}

}  // namespace tarnel::tool
