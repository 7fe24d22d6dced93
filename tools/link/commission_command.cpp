#include "commission_command.h"

#include "commission_console.h"
#include "console.h"
#include "exit_codes.h"
#include "interrupt.h"
#include "link/port_line.h"
#include "link/protocol.h"
#include "messages/messages.h"
#include "platform/error_text.h"
#include "platform/terminal.h"
#include "site/commissioning.h"
#include "words/site_words.h"
#include "trace.h"

#include <filesystem>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;
using messages::TrN;

namespace {

using namespace std::chrono_literals;

// Why the record was refused: nothing is sent then.
void Refused(const site::RecordRefusal& refusal, const std::string& path)
{
    switch (refusal.kind) {
    case site::RecordRefusal::Kind::CannotOpen:
        Report("tarnel-link: " + Format(Tr("the record %s cannot be opened: %s; nothing sent"), path.c_str(),
                                        platform::ErrorText(refusal.error).c_str()));
        break;
    case site::RecordRefusal::Kind::HeldElsewhere:
        Report("tarnel-link: " + Format(Tr("the record %s is held by another run; nothing sent"), path.c_str()));
        break;
    case site::RecordRefusal::Kind::NotARecord:
        Report("tarnel-link: " + Format(Tr("%s is no commissioning record: %s; left untouched, nothing sent"),
                                        path.c_str(), words::RecordProblemText(refusal.problem).c_str()));
        break;
    case site::RecordRefusal::Kind::CannotWrite:
        Report("tarnel-link: " + Format(Tr("the record %s cannot be written: %s; nothing sent"), path.c_str(),
                                        platform::ErrorText(refusal.error).c_str()));
        break;
    }
}

// Standard input as the person's answer to "is the rope in water?": Enter
// calibrates, s skips; with nobody at the keyboard, it is calibrated at once
// and a dry rope is left as it is.
void AnswerRope(site::Commissioning& commissioning, const CommissionConsole& console, platform::InputLines* input)
{
    if (!input) {
        console.RopeWasDry() ? commissioning.SkipCalibration() : commissioning.RopeInWater();
        return;
    }
    std::string line;
    switch (input->Next(line, 20ms)) {
    case platform::InputLine::NotYet: return;
    case platform::InputLine::Closed: commissioning.SkipCalibration(); return;
    case platform::InputLine::Read: line == "s" ? commissioning.SkipCalibration() : commissioning.RopeInWater();
    }
}

site::CommissionPlan Plan(const CommissionOptions& options)
{
    const ExchangeOptions& exchange = options.exchange;
    return {options.factory,    options.first,     options.last,      options.count, options.calibrate,
            link::RateAt(exchange.baudIndex), exchange.timeoutMs, exchange.listenMs, exchange.force};
}

}  // namespace

int RunCommission(const CommissionOptions& options)
{
    auto opened = site::OpenRecord(options.record);
    if (const auto* refusal = std::get_if<site::RecordRefusal>(&opened)) {
        Refused(*refusal, options.record);
        return kBadCommand;
    }
    site::Record& record = std::get<site::Record>(opened);
    const std::string path = std::filesystem::absolute(options.record).string();
    const std::size_t recorded = site::RecordedAddresses(record.Rows()).size();
    Print(Format(TrN("record: %s (%zu address in it)", "record: %s (%zu addresses in it)", recorded), path.c_str(),
                 recorded));

    const InterruptStop stop;
    platform::SerialLine port = options.exchange.port.Open(options.exchange.baudIndex);
    if (!port.IsOpen()) {
        return kCannotOpen;
    }
    link::PortLine line(port, &stop);
    const Trace trace(options.exchange.trace, line.Now());
    site::Bus bus(line, link::RateAt(options.exchange.baudIndex), trace);
    const bool interactive = platform::InputIsTerminal();
    CommissionConsole console({options.factory, options.first, options.last, path, interactive,
                               platform::OutputIsTerminal(), options.exchange.force});
    const site::SystemWallClock clock;
    site::Commissioning commissioning(bus, Plan(options), record, clock, console);
    platform::InputLines input;
    while (!commissioning.Finished()) {
        if (commissioning.AwaitingRope()) {
            AnswerRope(commissioning, console, interactive ? &input : nullptr);
        }
        commissioning.Tick();
    }
    return console.Status();
}

}  // namespace tarnel::tool
