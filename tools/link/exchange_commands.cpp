#include "exchange_commands.h"

#include "bus.h"
#include "exit_codes.h"
#include "link/frame_text.h"
#include "link/frames.h"
#include "link/protocol.h"

#include <algorithm>
#include <cstdio>

namespace tarnel::tool {
namespace {

// How long a silent controller is still listened to, so that one that
// answers late is named as late, not as silent.
std::uint32_t LateWindowMs(std::uint32_t timeoutMs)
{
    return std::max<std::uint32_t>(500, 2 * timeoutMs);
}

// Asks once; when nothing answers in time, listens on for a late answer,
// which then counts as the answer.
Answer AskListeningLate(Bus& bus, std::span<const std::uint8_t> request, std::uint32_t timeoutMs)
{
    constexpr std::uint32_t kSliceMs = 10;
    Answer answer = bus.Ask(request, timeoutMs);
    for (std::uint32_t waited = 0; !answer.frame && !bus.Stopped() && waited < LateWindowMs(timeoutMs); waited += kSliceMs) {
        bus.Listen(kSliceMs);
        for (HeardFrame& frame : bus.TakeOthers()) {
            if (!answer.frame && frame.kind == Heard::Late && frame.address == request[0]) {
                answer.frame = std::move(frame);
            }
        }
    }
    return answer;
}

// " after 12 ms" or " late, after 730 ms (raise --timeout)", and the bytes.
std::string How(const HeardFrame& frame)
{
    return (frame.kind == Heard::Late ? " late, after " : " after ") + std::to_string(frame.afterMs) + " ms" +
           (frame.kind == Heard::Late ? " (raise --timeout)" : "") + ": " + link::Hex(frame.bytes);
}

bool Refusal(const HeardFrame& frame)
{
    return (frame.kind == Heard::Reply || frame.kind == Heard::Late) && (frame.bytes[1] & link::kExceptionBit);
}

// A reply in time or late that does what was asked: not an exception.
bool Valid(const Answer& answer)
{
    return answer.frame && (answer.frame->kind == Heard::Reply || answer.frame->kind == Heard::Late) &&
           !Refusal(*answer.frame);
}

// The status and words for an answer that is not valid.
int Failed(const Answer& answer, const char* what)
{
    if (gInterrupted) {
        std::printf("%s: interrupted\n", what);
        return kInterrupted;
    }
    if (answer.frame && Refusal(*answer.frame)) {
        std::printf("%s: refused with exception %u%s\n", what, answer.frame->bytes[2], How(*answer.frame).c_str());
        return kNotConfirmed;
    }
    if (answer.frame) {
        std::printf("%s: %s%s\n", what, Describe(answer.frame->kind), How(*answer.frame).c_str());
        return kCorruptAnswer;
    }
    if (answer.echoed) {
        std::printf("%s: echo only: the adapter sent the request back and nothing answered\n", what);
        return kEchoOnly;
    }
    std::printf("%s: no answer\n", what);
    return kNotDone;
}

}  // namespace

int RunSetAddress(const ExchangeOptions& line, const MoveOptions& move)
{
    InstallInterruptFlag();
    link::PortHandle port = line.port.Open(line.baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    const Trace trace(line.trace);
    Bus bus(port, link::kBaudRates[static_cast<std::size_t>(line.baudIndex)].rate, trace);
    const std::string newAddress = std::to_string(move.newAddress);

    const Answer taken = AskListeningLate(bus, link::ProbeFrame(move.newAddress), line.timeoutMs);
    if (gInterrupted) {
        return kInterrupted;
    }
    if (taken.frame) {
        std::printf("address %s is taken: %s%s\n", newAddress.c_str(), Describe(taken.frame->kind),
                    How(*taken.frame).c_str());
        if (!move.force) {
            std::printf("nothing sent; two controllers would share it (--force moves all the same)\n");
            return kNotDone;
        }
    }

    const std::string what = "set-address " + std::to_string(move.oldAddress) + " -> " + newAddress;
    const Answer ack = AskListeningLate(bus, link::SetAddressFrame(move.oldAddress, move.newAddress), line.timeoutMs);
    if (!Valid(ack)) {
        return Failed(ack, what.c_str());
    }
    std::printf("%s: acknowledged%s\n", what.c_str(), How(*ack.frame).c_str());
    if (!move.verify) {
        return kSuccess;
    }

    // Listened through rather than slept, so that Ctrl-C ends it.
    bus.Listen(move.settleMs);
    bus.TakeOthers();
    const Answer moved = AskListeningLate(bus, link::ProbeFrame(move.newAddress), line.timeoutMs);
    if (Valid(moved)) {
        std::printf("verify: moved, answers at %s%s\n", newAddress.c_str(), How(*moved.frame).c_str());
        return kSuccess;
    }
    if (!moved.frame && !moved.echoed && !gInterrupted) {
        std::printf("verify: acknowledged, but nothing answers at %s\n", newAddress.c_str());
        return kNotConfirmed;
    }
    return Failed(moved, "verify");
}

int RunCalibrate(const ExchangeOptions& line, std::uint32_t address)
{
    InstallInterruptFlag();
    link::PortHandle port = line.port.Open(line.baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    const Trace trace(line.trace);
    Bus bus(port, link::kBaudRates[static_cast<std::size_t>(line.baudIndex)].rate, trace);
    const std::string what = "calibrate " + std::to_string(address);
    const Answer answer = AskListeningLate(bus, link::ZeroCalibrationFrame(address), line.timeoutMs);
    if (!Valid(answer)) {
        return Failed(answer, what.c_str());
    }
    const std::vector<std::uint8_t>& reply = answer.frame->bytes;
    const unsigned value = reply.size() >= 7 ? static_cast<unsigned>(reply[3] << 8 | reply[4]) : 0xFFFF;
    if (value != 0) {
        std::printf("%s: rope not in water: the controller read %u (0x%04X)%s\n", what.c_str(), value, value,
                    How(*answer.frame).c_str());
        return kNotConfirmed;
    }
    std::printf("%s: calibrated%s\n", what.c_str(), How(*answer.frame).c_str());
    return kSuccess;
}

}  // namespace tarnel::tool
