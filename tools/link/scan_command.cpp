#include "scan_command.h"

#include "bus.h"
#include "console.h"
#include "exit_codes.h"
#include "interrupt.h"
#include "link/frame_text.h"
#include "link/frames.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages.h"
#include "other_master.h"
#include "scan_report.h"
#include "trace.h"

#include <algorithm>
#include <cstdio>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

bool IsController(const Found& f)
{
    return f.kind == Heard::Reply || f.kind == Heard::Late;
}

bool Known(const ScanResult& result, std::uint32_t address)
{
    return std::ranges::any_of(result.found,
                               [address](const Found& f) { return f.address == address && IsController(f); });
}

std::string Text(const HeardFrame& frame)
{
    switch (frame.kind) {
    case Heard::Late:
        return Format(Tr("late answer from %u after %u ms (raise --timeout)"), frame.address, frame.afterMs);
    case Heard::Stray:
        return Format(Tr("stray answer from %u, which was not asked: %s"), frame.address,
                      link::Hex(frame.bytes).c_str());
    default:
        return Format(Tr("%s to the probe of %u: %s"), Tr(Describe(frame.kind)), frame.address,
                      link::Hex(frame.bytes).c_str());
    }
}

// Takes what one probe brought: its own answer, and late or stray frames.
void Record(const Answer& answer, std::vector<HeardFrame> others, std::uint32_t baud, ScanResult& result,
            Progress& progress)
{
    if (answer.frame) {
        others.insert(others.begin(), *answer.frame);
    } else if (answer.echoed) {
        ++result.echoes;
    }
    for (const HeardFrame& frame : others) {
        if (frame.kind == Heard::Stray || (frame.kind == Heard::Late && Known(result, frame.address))) {
            progress.Note(Text(frame));
            continue;
        }
        result.found.push_back({frame.address, baud, frame.kind, frame.bytes, frame.afterMs});
        if (frame.kind == Heard::Reply) {
            progress.Note(Format(Tr("found %u at %u baud after %u ms"), frame.address, baud, frame.afterMs));
        } else {
            progress.Note(Text(frame));
        }
    }
}

int Status(const ScanResult& result)
{
    if (std::ranges::any_of(result.found, IsController)) {
        return kSuccess;
    }
    if (!result.found.empty()) {
        Report(Tr("no valid reply, only corrupt or short answers: check the wiring and the speed"));
        return kCorruptAnswer;
    }
    if (result.echoes > 0) {
        Report(
            Tr("Every probe came back as an exact echo: the adapter hears what it sends. "
               "Switch off its echo (or check the wiring)."));
        return kEchoOnly;
    }
    Report(Tr("no controller answered"));
    return kNotDone;
}

}  // namespace

int RunScan(const ScanRequest& request)
{
    const InterruptStop stop;
    // One time line across the speeds: each port is a line on the steady clock.
    const Trace trace(request.trace, link::LineClock::now());
    const std::uint32_t perSpeed = request.to - request.from + 1;
    Progress progress(perSpeed * static_cast<std::uint32_t>(request.baudIndexes.size()), request.timeoutMs);
    ScanResult result;
    bool otherMaster = false;
    const auto done = [&result, &request] { return !request.all && std::ranges::any_of(result.found, IsController); };
    for (const int baudIndex : request.baudIndexes) {
        const std::uint32_t baud = link::kBaudRates[static_cast<std::size_t>(baudIndex)].rate;
        platform::SerialLine port = request.port.Open(baudIndex);
        if (!port.IsOpen()) {
            progress.Done();
            return kCannotOpen;
        }
        link::PortLine line(port, &stop);
        Bus bus(line, baud, trace);
        progress.Speed(baud, request.from, request.to);
        const int shared = SharingTheBus(bus, request.listenMs, request.force, [&] {
            for (std::uint32_t address = request.from; address <= request.to && !done() && !bus.Stopped();
                 ++address) {
                // A controller found at one speed is not looked for at the next.
                if (!Known(result, address)) {
                    const Answer answer = bus.Ask(link::ProbeFrame(address), request.timeoutMs);
                    Record(answer, bus.TakeOthers(), baud, result, progress);
                }
                progress.Probed(address, baud, result.found.size());
            }
            if (!done()) {
                // An answer to the last probe may still be on its way.
                bus.Listen(request.timeoutMs);
                Record({}, bus.TakeOthers(), baud, result, progress);
            }
            return kSuccess;
        });
        otherMaster = shared == kOtherMaster;
        result.partial = result.partial || otherMaster;
        if (port.Lost()) {
            progress.Note("tarnel-link: " + port.Device() + ": " + Tr("the device went away"));
            result.partial = true;
        }
        result.partial = result.partial || stop.StopRequested();
        if (done() || result.partial) {
            break;
        }
    }
    progress.Done();

    if (request.json) {
        PrintJson(result);
    } else if (!result.found.empty()) {
        PrintTable(result);
    }
    if (stop.StopRequested()) {
        Report(Tr("interrupted"));
        return kInterrupted;
    }
    if (otherMaster) {
        return kOtherMaster;
    }
    return result.partial ? kNotDone : Status(result);
}

}  // namespace tarnel::tool
