#include "exchange_commands.h"

#include "bus.h"
#include "exit_codes.h"
#include "interrupt.h"
#include "link/frame_shapes.h"
#include "link/frame_text.h"
#include "link/frames.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages.h"
#include "other_master.h"
#include "trace.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

// How long a silent controller is still listened to, so that one that
// answers late is named as late, not as silent.
std::uint32_t LateWindowMs(std::uint32_t timeoutMs)
{
    return std::max<std::uint32_t>(500, 2 * timeoutMs);
}

// " after 12 ms" or " late, after 730 ms (raise --timeout)", and the bytes.
std::string How(const HeardFrame& frame)
{
    const std::string when = frame.kind == Heard::Late
                                 ? Format(Tr(" late, after %u ms (raise --timeout)"), frame.afterMs)
                                 : Format(Tr(" after %u ms"), frame.afterMs);
    return when + ": " + link::Hex(frame.bytes);
}

// The status and words for an answer that is not valid.
int Failed(const Bus& bus, const Answer& answer, const std::string& what, const Say& say)
{
    if (bus.Line().StopRequested()) {
        say(what + ": " + Tr("interrupted"));
        return kInterrupted;
    }
    if (bus.Stopped() && bus.OtherMasterHeard()) {
        return kOtherMaster;  // said by whoever shares the bus
    }
    if (answer.frame && Refusal(*answer.frame)) {
        say(what + ": " + Format(Tr("refused with exception %u"), answer.frame->bytes[2]) + How(*answer.frame));
        return kNotConfirmed;
    }
    if (answer.frame) {
        say(what + ": " + Tr(Describe(answer.frame->kind)) + How(*answer.frame));
        return kCorruptAnswer;
    }
    if (answer.echoed) {
        say(what + ": " + Tr("echo only: the adapter sent the request back and nothing answered"));
        return kEchoOnly;
    }
    say(what + ": " + Tr("no answer"));
    return kNotDone;
}

}  // namespace

Answer AskListeningLate(Bus& bus, std::span<const std::uint8_t> request, std::uint32_t timeoutMs)
{
    constexpr std::uint32_t kSliceMs = 10;
    Answer answer = bus.Ask(request, timeoutMs);
    for (std::uint32_t waited = 0; !answer.frame && !bus.Stopped() && waited < LateWindowMs(timeoutMs);
         waited += kSliceMs) {
        bus.Listen(kSliceMs);
        for (HeardFrame& frame : bus.TakeOthers()) {
            if (!answer.frame && frame.kind == Heard::Late && frame.address == request[0]) {
                answer.frame = std::move(frame);
            }
        }
    }
    return answer;
}

bool Refusal(const HeardFrame& frame)
{
    return (frame.kind == Heard::Reply || frame.kind == Heard::Late) && (frame.bytes[1] & link::kExceptionBit);
}

bool Valid(const Answer& answer)
{
    return answer.frame && (answer.frame->kind == Heard::Reply || answer.frame->kind == Heard::Late) &&
           !Refusal(*answer.frame);
}

unsigned CalibrationValue(const HeardFrame& reply)
{
    // A reply too short to carry a value reads as not calibrated.
    return reply.bytes.size() >= 7 ? link::Word(reply.bytes, 3) : 0xFFFF;
}

int OnBus(const ExchangeOptions& options, const std::function<int(Bus&)>& job)
{
    const InterruptStop stop;
    platform::SerialLine port = options.port.Open(options.baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    link::PortLine line(port, &stop);
    const Trace trace(options.trace, line.Now());
    Bus bus(line, link::kBaudRates[static_cast<std::size_t>(options.baudIndex)].rate, trace);
    return SharingTheBus(bus, options.listenMs, options.force, [&] { return job(bus); });
}

int MoveAddress(Bus& bus, const MoveOptions& move, std::uint32_t timeoutMs, const Say& say)
{
    const Answer taken = AskListeningLate(bus, link::ProbeFrame(move.newAddress), timeoutMs);
    if (bus.Line().StopRequested()) {
        return kInterrupted;
    }
    if (taken.frame) {
        say(Format(Tr("address %u is taken: %s"), move.newAddress, Tr(Describe(taken.frame->kind))) +
            How(*taken.frame));
        if (!move.force) {
            say(Tr("nothing sent; two controllers would share it (--force moves all the same)"));
            return kNotDone;
        }
    }

    const std::string what = Format("set-address %u -> %u", move.oldAddress, move.newAddress);
    const Answer ack = AskListeningLate(bus, link::SetAddressFrame(move.oldAddress, move.newAddress), timeoutMs);
    if (!Valid(ack)) {
        return Failed(bus, ack, what, say);
    }
    say(what + ": " + Tr("acknowledged") + How(*ack.frame));
    if (!move.verify) {
        return kSuccess;
    }

    // Listened through rather than slept, so that Ctrl-C ends it.
    bus.Listen(move.settleMs);
    bus.TakeOthers();
    const Answer moved = AskListeningLate(bus, link::ProbeFrame(move.newAddress), timeoutMs);
    if (Valid(moved)) {
        say(Format(Tr("verify: moved, answers at %u"), move.newAddress) + How(*moved.frame));
        return kSuccess;
    }
    if (!moved.frame && !moved.echoed && !bus.Stopped()) {
        say(Format(Tr("verify: acknowledged, but nothing answers at %u"), move.newAddress));
        return kNotConfirmed;
    }
    return Failed(bus, moved, Tr("verify"), say);
}

int Calibrate(Bus& bus, std::uint32_t address, std::uint32_t timeoutMs, const Say& say)
{
    const std::string what = Format("calibrate %u", address);
    const Answer answer = AskListeningLate(bus, link::ZeroCalibrationFrame(address), timeoutMs);
    if (!Valid(answer)) {
        return Failed(bus, answer, what, say);
    }
    const unsigned value = CalibrationValue(*answer.frame);
    if (value != 0) {
        say(what + ": " + Format(Tr("rope not in water: the controller read %u (0x%04X)"), value, value) +
            How(*answer.frame));
        return kNotConfirmed;
    }
    say(what + ": " + Tr("calibrated") + How(*answer.frame));
    return kSuccess;
}

int RunSetAddress(const ExchangeOptions& options, const MoveOptions& move)
{
    return OnBus(options, [&](Bus& bus) { return MoveAddress(bus, move, options.timeoutMs, Print); });
}

int RunCalibrate(const ExchangeOptions& options, std::uint32_t address)
{
    return OnBus(options, [&](Bus& bus) { return Calibrate(bus, address, options.timeoutMs, Print); });
}

}  // namespace tarnel::tool
