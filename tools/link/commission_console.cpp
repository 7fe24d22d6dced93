#include "commission_console.h"

#include "console.h"
#include "exchange_commands.h"
#include "exit_codes.h"
#include "messages/messages.h"
#include "platform/error_text.h"
#include "words/site_words.h"

namespace tarnel::tool {

using messages::Format;
using messages::Tr;
using Reason = site::CommissionEnd::Reason;

void CommissionConsole::Stepped(site::CommissionStep step, std::uint32_t address, unsigned done)
{
    switch (step) {
    case site::CommissionStep::AwaitingController:
        Print(Format(Tr("[%u done] connect the next controller (it answers at %u)"), done, address));
        break;
    case site::CommissionStep::AwaitingRope:
        ropeDry_ = false;
        if (setting_.interactive) {
            Print(Format(Tr("lay the first 0-0.3 m of the rope of %u in water, then press Enter (s and Enter: skip)"),
                         address));
        }
        break;
    case site::CommissionStep::AwaitingDisconnection:
        Print(Format(Tr("disconnect it; the next one is asked for once nothing answers at %u"), address));
        break;
    default: break;
    }
}

void CommissionConsole::Skipped(std::uint32_t address)
{
    Print(Format(Tr("%u already answers and is not in the record: skipped"), address));
}

void CommissionConsole::SeveralAtFactory(std::uint32_t factory)
{
    Print(Format(Tr("more than one controller answers at %u: connect one at a time"), factory));
}

void CommissionConsole::SecondAtFactory(std::uint32_t factory)
{
    Print(Format(Tr("a second controller answers at %u: it was connected at the same time"), factory));
}

void CommissionConsole::RopeDry(std::uint32_t, std::uint16_t value)
{
    ropeDry_ = true;
    if (setting_.interactive) {
        Print(Format(Tr("%s: the rope is not in water; Enter: try again, s and Enter: skip"),
                     words::CalibrationText({site::Calibration::Kind::RopeDry, value}).c_str()));
    }
}

void CommissionConsole::Recorded(const site::RecordRow& row)
{
    if (row.outcome.kind != site::Outcome::Kind::Moved) {
        Print(Format(Tr("failed %u -> %u: %s (recorded)"), row.from, row.address,
                     words::OutcomeText(row.outcome, row.from).c_str()));
        return;
    }
    const std::string bell = setting_.bell ? "\a" : "";
    if (row.calibration.kind == site::Calibration::Kind::NotAsked) {
        Print(Format(Tr("moved %u -> %u at %u baud, answers in %u ms: label it %u"), row.from, row.address, row.baud,
                     *row.responseMs, row.address) +
              bell);
        return;
    }
    Print(Format(Tr("moved %u -> %u at %u baud, answers in %u ms, %s: label it %u"), row.from, row.address, row.baud,
                 *row.responseMs, words::CalibrationText(row.calibration).c_str(), row.address) +
          bell);
}

void CommissionConsole::NotRecorded(const site::RecordRow& row, std::error_code error)
{
    Print(Format(Tr("the record %s cannot be written: %s; stopped"), setting_.recordPath.c_str(),
                 platform::ErrorText(error).c_str()));
    const std::string outcome = words::OutcomeText(row.outcome, row.from);
    Print(Format(Tr("controller at %u: %s, not recorded"), row.address, outcome.c_str()));
}

void CommissionConsole::Ended(const site::CommissionEnd& end)
{
    switch (end.reason) {
    case Reason::CountReached: status_ = end.tally.unfinished == 0 ? kSuccess : kNotConfirmed; break;
    case Reason::NoFreeAddress:
        Print(Format(Tr("no free address left from %u up to %u"), setting_.first, setting_.last));
        status_ = kNotDone;
        break;
    case Reason::Stopped: status_ = kInterrupted; break;
    case Reason::AdapterLost:
        Print(end.moving ? Format(Tr("the adapter went away: %s (while moving %u -> %u)"),
                                  platform::ErrorText(end.error).c_str(), setting_.factory, *end.moving)
                         : Format(Tr("the adapter went away: %s (while waiting for a controller)"),
                                  platform::ErrorText(end.error).c_str()));
        status_ = kCannotOpen;
        break;
    case Reason::OtherMaster: status_ = kOtherMaster; break;
    case Reason::RecordUnwritable: status_ = kNotConfirmed; break;
    }
    if (end.reason != Reason::RecordUnwritable) {
        Summary(end.tally);
    }
    if (end.master) {
        status_ = SharingStatus(setting_.force ? site::Sharing::Forced : site::Sharing::GaveUp, end.master, status_);
    }
}

void CommissionConsole::Summary(const site::Tally& tally) const
{
    Print(Format(Tr("moved %u, failed %u; record: %s"), tally.moved, tally.failed, setting_.recordPath.c_str()));
}

}  // namespace tarnel::tool
