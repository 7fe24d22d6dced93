#include "site_words.h"

#include <cmath>

namespace tarnel::tool {

using messages::Format;
using messages::N_;
using messages::Tr;

const char* HeardName(site::Heard kind)
{
    switch (kind) {
    case site::Heard::Reply: return N_("valid reply");
    case site::Heard::Late: return N_("late answer");
    case site::Heard::Stray: return N_("stray answer");
    case site::Heard::Echo: return N_("echo of the request");
    case site::Heard::Corrupt: return N_("corrupt answer");
    case site::Heard::Request: return N_("request from another master");
    case site::Heard::Short: break;
    }
    return N_("short answer");
}

std::string FailureText(const site::AnswerFailure& failure)
{
    switch (failure.kind) {
    case site::Failure::EchoOnly: return Tr("echo only");
    case site::Failure::Corrupt: return Tr("corrupt answer");
    case site::Failure::Short: return Tr("short answer");
    case site::Failure::Refused: return Format(Tr("refused (exception %u)"), failure.exception);
    case site::Failure::NoAnswer: break;
    }
    return Tr("no answer");
}

std::string OutcomeText(const site::Outcome& outcome, std::uint32_t from)
{
    using Kind = site::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::Moved: return Tr("moved");
    case Kind::StepFailed:
        return Format(outcome.step == site::MoveStep::SetAddress ? Tr("set-address: %s") : Tr("verify: %s"),
                      FailureText(outcome.failure).c_str());
    case Kind::SecondAtFactory: return Format(Tr("another controller still at %u"), from);
    case Kind::AdapterLost: return Tr("adapter lost");
    case Kind::Stopped: return Tr("interrupted");
    case Kind::OtherMaster: break;
    }
    return Tr("another master");
}

std::string CalibrationText(const site::Calibration& calibration)
{
    using Kind = site::Calibration::Kind;
    switch (calibration.kind) {
    case Kind::Skipped: return Tr("skipped");
    case Kind::Calibrated: return Tr("calibrated");
    case Kind::RopeDry: return Format(Tr("rope dry (value 0x%04X)"), calibration.value);
    case Kind::Failed:
        return calibration.failure.kind == site::Failure::EchoOnly ? Tr("no answer") : FailureText(calibration.failure);
    case Kind::NotAsked: break;
    }
    return Tr("not asked");
}

std::string RecordProblemText(const site::RecordProblem& problem)
{
    switch (problem.kind) {
    case site::RecordProblem::Kind::ForeignHeader:
        return Format(Tr("it does not begin with the line %s"), std::string(site::kRecordHeader).c_str());
    case site::RecordProblem::Kind::CutShort: return Format(Tr("line %zu is cut short (it has no line end)"), problem.line);
    case site::RecordProblem::Kind::NotARow: break;
    }
    return Format(Tr("line %zu is not a row of the record"), problem.line);
}

std::string OtherMasterText(const site::OtherMaster& master, const messages::Translation& words)
{
    std::string addresses;
    std::size_t left = master.addresses.size();
    for (const std::uint32_t address : master.addresses) {
        addresses += std::to_string(address) + (--left == 0 ? "" : left == 1 ? words.Tr(" and ") : ", ");
    }
    std::string text = Format(words.TrN("a request to %s", "requests to %s", master.requests), addresses.c_str());
    const double seconds = std::chrono::duration<double>(master.last - master.first).count();
    if (master.requests < 2 || seconds <= 0) {
        return text;
    }
    const double perSecond = static_cast<double>(master.requests - 1) / seconds;
    if (perSecond >= 1) {
        return text + Format(words.Tr(", about %ld a second"), std::lround(perSecond));
    }
    return text + Format(words.Tr(", about one every %ld s"), std::lround(1 / perSecond));
}

std::string Verdict(const site::Diagnosis& diagnosis, const messages::Translation& words)
{
    const std::size_t controllers = diagnosis.controllers.size();
    const std::size_t problems = diagnosis.findings.size();
    if (problems == 0) {
        return Format(words.TrN("healthy: %zu controller, no problem found",
                                "healthy: %zu controllers, no problem found", controllers),
                      controllers);
    }
    return Format(words.TrN("%zu problem found", "%zu problems found", problems), problems);
}

}  // namespace tarnel::tool
