#include "scan_command.h"

#include "console.h"
#include "exchange_commands.h"
#include "exit_codes.h"
#include "interrupt.h"
#include "link/frame_text.h"
#include "link/frames.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages/messages.h"
#include "scan_report.h"
#include "site/listening.h"
#include "site/other_master.h"
#include "words/site_words.h"
#include "trace.h"

#include <algorithm>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

bool IsController(const Found& f)
{
    return f.kind == site::Heard::Reply || f.kind == site::Heard::Late;
}

bool Known(const ScanResult& result, std::uint32_t address)
{
    return std::ranges::any_of(result.found,
                               [address](const Found& f) { return f.address == address && IsController(f); });
}

std::string Text(const site::HeardFrame& frame)
{
    switch (frame.kind) {
    case site::Heard::Late:
        return Format(Tr("late answer from %u after %u ms (raise --timeout)"), frame.address, frame.afterMs);
    case site::Heard::Stray:
        return Format(Tr("stray answer from %u, which was not asked: %s"), frame.address,
                      link::Hex(frame.bytes).c_str());
    default:
        return Format(Tr("%s to the probe of %u: %s"), Tr(words::HeardName(frame.kind)), frame.address,
                      link::Hex(frame.bytes).c_str());
    }
}

// Takes what one probe brought: its own answer, and late or stray frames.
void Record(const site::Answer& answer, std::vector<site::HeardFrame> others, std::uint32_t baud, ScanResult& result,
            Progress& progress)
{
    if (answer.frame) {
        others.insert(others.begin(), *answer.frame);
    } else if (answer.echoed) {
        ++result.echoes;
    }
    for (const site::HeardFrame& frame : others) {
        if (frame.kind == site::Heard::Stray || (frame.kind == site::Heard::Late && Known(result, frame.address))) {
            progress.Note(Text(frame));
            continue;
        }
        result.found.push_back({frame.address, baud, frame.kind, frame.bytes, frame.afterMs});
        if (frame.kind == site::Heard::Reply) {
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

// One scan of the range at one speed, under the rule against talking over
// another master; true when another master stopped it.
bool ScanAtSpeed(site::Bus& bus, const ScanRequest& request, ScanResult& result, Progress& progress)
{
    const auto done = [&result, &request] { return !request.all && std::ranges::any_of(result.found, IsController); };
    const site::Sharing sharing = site::SharingTheBus(bus, request.listenMs, request.force, [&] {
        for (std::uint32_t address = request.from; address <= request.to && !done() && !bus.Stopped(); ++address) {
            // A controller found at one speed is not looked for at the next.
            if (!Known(result, address)) {
                const site::Answer answer = bus.Ask(link::ProbeFrame(address), request.timeoutMs);
                Record(answer, bus.TakeOthers(), bus.Baud(), result, progress);
            }
            progress.Probed(address, bus.Baud(), result.found.size());
        }
        if (!done()) {
            // An answer to the last probe may still be on its way.
            site::ListenFor(bus, request.timeoutMs);
            Record({}, bus.TakeOthers(), bus.Baud(), result, progress);
        }
    });
    return SharingStatus(sharing, bus.OtherMasterHeard(), kSuccess) == kOtherMaster;
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
    for (const int baudIndex : request.baudIndexes) {
        platform::SerialLine port = request.port.Open(baudIndex);
        if (!port.IsOpen()) {
            progress.Done();
            return kCannotOpen;
        }
        link::PortLine line(port, &stop);
        site::Bus bus(line, link::RateAt(baudIndex), trace);
        progress.Speed(bus.Baud(), request.from, request.to);
        otherMaster = ScanAtSpeed(bus, request, result, progress);
        if (port.Lost()) {
            progress.Note("tarnel-link: " + port.Device() + ": " + Tr("the device went away"));
        }
        result.partial = otherMaster || port.Lost() || stop.StopRequested();
        if (result.partial || (!request.all && std::ranges::any_of(result.found, IsController))) {
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
