#include "exchange_commands.h"

#include "console.h"
#include "exit_codes.h"
#include "interrupt.h"
#include "link/frame_text.h"
#include "link/frames.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages/messages.h"
#include "site/address_move.h"
#include "site/answers.h"
#include "site/calibration.h"
#include "site/request.h"
#include "words/site_words.h"
#include "trace.h"

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

// " after 12 ms" or " late, after 730 ms (raise --timeout)", and the bytes.
std::string How(const site::HeardFrame& frame)
{
    const std::string when = frame.kind == site::Heard::Late
                                 ? Format(Tr(" late, after %u ms (raise --timeout)"), frame.afterMs)
                                 : Format(Tr(" after %u ms"), frame.afterMs);
    return when + ": " + link::Hex(frame.bytes);
}

// The status and words for an answer that is not valid.
int Failed(const site::Bus& bus, const site::Answer& answer, const std::string& what, const Say& say)
{
    if (bus.Line().StopRequested()) {
        say(what + ": " + Tr("interrupted"));
        return kInterrupted;
    }
    if (bus.YieldsToOtherMaster()) {
        return kOtherMaster;  // said by whoever shares the bus
    }
    const site::AnswerFailure failure = *site::FailureOf(answer);
    switch (failure.kind) {
    case site::Failure::Refused:
        say(what + ": " + Format(Tr("refused with exception %u"), failure.exception) + How(*answer.frame));
        return kNotConfirmed;
    case site::Failure::Corrupt:
    case site::Failure::Short:
        say(what + ": " + Tr(words::HeardName(answer.frame->kind)) + How(*answer.frame));
        return kCorruptAnswer;
    case site::Failure::EchoOnly:
        say(what + ": " + Tr("echo only: the adapter sent the request back and nothing answered"));
        return kEchoOnly;
    case site::Failure::NoAnswer: break;
    }
    say(what + ": " + Tr("no answer"));
    return kNotDone;
}

// After the acknowledged change: what the verifying probe at NEW found.
int Verified(const site::Bus& bus, const site::Answer& moved, std::uint32_t newAddress, const Say& say)
{
    if (site::Valid(moved)) {
        say(Format(Tr("verify: moved, answers at %u"), newAddress) + How(*moved.frame));
        return kSuccess;
    }
    if (!moved.frame && !moved.echoed && !bus.Stopped()) {
        say(Format(Tr("verify: acknowledged, but nothing answers at %u"), newAddress));
        return kNotConfirmed;
    }
    return Failed(bus, moved, Tr("verify"), say);
}

}  // namespace

int OnBus(const ExchangeOptions& options, const std::function<int(site::Bus&)>& job)
{
    const InterruptStop stop;
    platform::SerialLine port = options.port.Open(options.baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    link::PortLine line(port, &stop);
    const Trace trace(options.trace, line.Now());
    site::Bus bus(line, link::RateAt(options.baudIndex), trace);
    int status = kOtherMaster;
    const site::Sharing sharing =
        site::SharingTheBus(bus, options.listenMs, options.force, [&] { status = job(bus); });
    return SharingStatus(sharing, bus.OtherMasterHeard(), status);
}

int SharingStatus(site::Sharing sharing, const std::optional<site::OtherMaster>& master, int status)
{
    switch (sharing) {
    case site::Sharing::Alone: return status;
    case site::Sharing::Forced:
        Report(Format(Tr("another master used this bus (%s): sent all the same (--force)"),
                      words::OtherMasterText(*master).c_str()));
        return status;
    case site::Sharing::GaveUp: break;
    }
    Report(Format(Tr("another master is using this bus (%s): nothing more is sent"),
                  words::OtherMasterText(*master).c_str()));
    return kOtherMaster;
}

int MoveAddress(site::Bus& bus, const MoveOptions& move, std::uint32_t timeoutMs, const Say& say)
{
    const site::Answer taken = site::AskListeningLate(bus, link::ProbeFrame(move.newAddress), timeoutMs);
    if (bus.Line().StopRequested()) {
        return kInterrupted;
    }
    if (taken.frame) {
        say(Format(Tr("address %u is taken: %s"), move.newAddress, Tr(words::HeardName(taken.frame->kind))) +
            How(*taken.frame));
        if (!move.force) {
            say(Tr("nothing sent; two controllers would share it (--force moves all the same)"));
            return kNotDone;
        }
    }
    site::AddressMove moving({move.oldAddress, move.newAddress, move.verify, move.settleMs, timeoutMs});
    while (!moving.Tick(bus)) {
    }
    const std::string what = Format("set-address %u -> %u", move.oldAddress, move.newAddress);
    if (moving.FailedStep() == site::MoveStep::SetAddress) {
        return Failed(bus, moving.Acknowledgement(), what, say);
    }
    say(what + ": " + Tr("acknowledged") + How(*moving.Acknowledgement().frame));
    return move.verify ? Verified(bus, *moving.Verification(), move.newAddress, say) : kSuccess;
}

int Calibrate(site::Bus& bus, std::uint32_t address, std::uint32_t timeoutMs, const Say& say)
{
    const std::string what = Format("calibrate %u", address);
    const site::Answer answer = site::AskListeningLate(bus, link::ZeroCalibrationFrame(address), timeoutMs);
    const site::Calibration calibration = site::JudgeCalibration(answer);
    switch (calibration.kind) {
    case site::Calibration::Kind::Failed: return Failed(bus, answer, what, say);
    case site::Calibration::Kind::RopeDry:
        say(what + ": " +
            Format(Tr("rope not in water: the controller read %u (0x%04X)"), calibration.value, calibration.value) +
            How(*answer.frame));
        return kNotConfirmed;
    default: break;
    }
    say(what + ": " + Tr("calibrated") + How(*answer.frame));
    return kSuccess;
}

int RunSetAddress(const ExchangeOptions& options, const MoveOptions& move)
{
    return OnBus(options, [&](site::Bus& bus) { return MoveAddress(bus, move, options.timeoutMs, Print); });
}

int RunCalibrate(const ExchangeOptions& options, std::uint32_t address)
{
    return OnBus(options, [&](site::Bus& bus) { return Calibrate(bus, address, options.timeoutMs, Print); });
}

}  // namespace tarnel::tool
