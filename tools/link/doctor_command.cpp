#include "doctor_command.h"

#include "console.h"
#include "diagnosis.h"
#include "exit_codes.h"
#include "interrupt.h"
#include "link/frames.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages.h"
#include "trace.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;
using messages::TrN;

namespace {

// An address that answers anything is asked this often in all.
constexpr unsigned kAsks = 5;

void Count(const HeardFrame& frame, AddressSeen& seen)
{
    switch (frame.kind) {
    case Heard::Reply:
        ++seen.valid;
        seen.responseMs.push_back(frame.afterMs);
        break;
    case Heard::Late:
        ++seen.late;
        seen.latestMs = std::max(seen.latestMs, frame.afterMs);
        break;
    case Heard::Corrupt: ++seen.corrupt; break;
    case Heard::Short: ++seen.shortAnswers; break;
    default: break;
    }
}

// Probes one address, again while it answers anything.
std::optional<AddressSeen> Examine(Bus& bus, std::uint32_t address, std::uint32_t timeoutMs, SpeedSeen& speed,
                                   std::vector<AddressSeen>& seenSoFar)
{
    AddressSeen seen;
    seen.address = address;
    for (unsigned ask = 0; ask < kAsks && !bus.Stopped(); ++ask) {
        const Answer answer = bus.Ask(link::ProbeFrame(address), timeoutMs);
        ++seen.asked;
        speed.echoes += answer.echoed ? 1 : 0;
        if (answer.frame) {
            Count(*answer.frame, seen);
        }
        for (const HeardFrame& other : bus.TakeOthers()) {
            if (other.address == address) {
                Count(other, seen);
            } else if (other.kind == Heard::Late) {
                // A late answer counts for the address it answers.
                auto earlier = std::ranges::find(seenSoFar, other.address, &AddressSeen::address);
                if (earlier == seenSoFar.end()) {
                    earlier = seenSoFar.insert(seenSoFar.end(), AddressSeen{});
                    earlier->address = other.address;
                }
                ++earlier->asked;
                Count(other, *earlier);
            }
        }
        if (seen.valid + seen.corrupt + seen.shortAnswers + seen.late == 0) {
            break;
        }
    }
    if (seen.valid + seen.corrupt + seen.shortAnswers + seen.late == 0) {
        return std::nullopt;
    }
    return seen;
}

// Everything but noise counts as a frame heard.
void NoteListening(const std::vector<HeardFrame>& frames, SpeedSeen& speed)
{
    for (const HeardFrame& frame : frames) {
        if (frame.kind == Heard::Corrupt || frame.kind == Heard::Short) {
            speed.noiseBytes += frame.bytes.size();
        } else {
            ++speed.framesHeard;
        }
    }
}

std::string JsonText(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

void PrintJson(const std::vector<SpeedSeen>& speeds, const Diagnosis& diagnosis, const std::string& verdict)
{
    std::printf("{\n  \"listen\": [");
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        const SpeedSeen& s = speeds[i];
        std::printf("%s\n    {\"baud\": %u, \"frames\": %zu, \"noise_bytes\": %zu, \"other_master\": %s}", i ? "," : "",
                    s.baud, s.framesHeard, s.noiseBytes, s.otherMaster ? "true" : "false");
    }
    std::printf("\n  ],\n  \"controllers\": [");
    for (std::size_t i = 0; i < diagnosis.controllers.size(); ++i) {
        const Controller& c = diagnosis.controllers[i];
        std::printf("%s\n    {\"address\": %u, \"baud\": %u, \"min_ms\": %u, \"median_ms\": %u, \"max_ms\": %u}",
                    i ? "," : "", c.address, c.baud, c.minMs, c.medianMs, c.maxMs);
    }
    std::printf("%s],\n  \"findings\": [", diagnosis.controllers.empty() ? "" : "\n  ");
    for (std::size_t i = 0; i < diagnosis.findings.size(); ++i) {
        const Finding& f = diagnosis.findings[i];
        std::printf("%s\n    {\"kind\": %s, \"address\": %s, \"detail\": %s, \"fix\": %s}", i ? "," : "",
                    JsonText(f.kind).c_str(), f.address ? std::to_string(*f.address).c_str() : "null",
                    JsonText(f.detail).c_str(), JsonText(f.fix).c_str());
    }
    std::printf("%s],\n  \"verdict\": %s\n}\n", diagnosis.findings.empty() ? "" : "\n  ", JsonText(verdict).c_str());
}

}  // namespace

int RunDoctor(const DoctorRequest& request)
{
    const InterruptStop stop;
    const Trace trace(request.trace, link::LineClock::now());
    std::vector<SpeedSeen> speeds;
    bool stoppedByMaster = false;
    for (const int baudIndex : request.baudIndexes) {
        SpeedSeen& speed = speeds.emplace_back();
        speed.baud = link::kBaudRates[static_cast<std::size_t>(baudIndex)].rate;
        platform::SerialLine port = request.port.Open(baudIndex);
        if (!port.IsOpen()) {
            return kCannotOpen;
        }
        link::PortLine line(port, &stop);
        Bus bus(line, speed.baud, trace);
        if (request.force) {
            bus.AllowOtherMasters();
        }
        Report(Format(Tr("listening at %u baud for %u ms"), speed.baud, request.listenMs));
        bus.Listen(request.listenMs);
        NoteListening(bus.TakeOthers(), speed);
        speed.otherMaster = bus.OtherMasterHeard();
        Report(Format(Tr("probing %u..%u at %u baud"), request.from, request.to, speed.baud));
        for (std::uint32_t address = request.from; address <= request.to && !bus.Stopped(); ++address) {
            if (auto seen = Examine(bus, address, request.timeoutMs, speed, speed.addresses)) {
                speed.addresses.push_back(std::move(*seen));
            }
        }
        speed.otherMaster = bus.OtherMasterHeard();
        stoppedByMaster = speed.otherMaster && !request.force;
        if (stop.StopRequested() || port.Lost() || stoppedByMaster) {
            break;
        }
    }
    if (stop.StopRequested()) {
        Report(Tr("interrupted"));
        return kInterrupted;
    }
    // The JSON's texts are for machines too: English, whatever the language.
    std::optional<messages::InEnglish> english;
    if (request.json) {
        english.emplace();
    }
    const Diagnosis diagnosis = Diagnose(speeds, request.timeoutMs);
    const std::size_t controllers = diagnosis.controllers.size();
    const std::size_t problems = diagnosis.findings.size();
    const std::string verdict =
        problems == 0
            ? Format(TrN("healthy: %zu controller, no problem found", "healthy: %zu controllers, no problem found",
                         controllers),
                     controllers)
            : Format(TrN("%zu problem found", "%zu problems found", problems), problems);
    if (request.json) {
        PrintJson(speeds, diagnosis, verdict);
    } else {
        for (const Controller& c : diagnosis.controllers) {
            std::printf("%s\n", Format(Tr("controller %u at %u baud answers in %u/%u/%u ms (min/median/max)"),
                                      c.address, c.baud, c.minMs, c.medianMs, c.maxMs)
                                   .c_str());
        }
        std::printf("%s\n", verdict.c_str());
        for (const Finding& f : diagnosis.findings) {
            std::printf("- %s\n  %s\n", f.detail.c_str(), Format(Tr("fix: %s"), f.fix.c_str()).c_str());
        }
    }
    if (stoppedByMaster) {
        return kOtherMaster;
    }
    return diagnosis.nothingAnswers ? kNotDone : diagnosis.findings.empty() ? kSuccess : kProblemsFound;
}

}  // namespace tarnel::tool
