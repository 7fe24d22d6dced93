#include "words/site_words.h"

#include <cmath>

namespace tarnel::words {

using messages::Format;
using messages::N_;

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

std::string FailureText(const site::AnswerFailure& failure, const Translation& words)
{
    switch (failure.kind) {
    case site::Failure::EchoOnly: return words.Tr("echo only");
    case site::Failure::Corrupt: return words.Tr("corrupt answer");
    case site::Failure::Short: return words.Tr("short answer");
    case site::Failure::Refused: return Format(words.Tr("refused (exception %u)"), failure.exception);
    case site::Failure::NoAnswer: break;
    }
    return words.Tr("no answer");
}

std::string OutcomeText(const site::Outcome& outcome, std::uint32_t from, const Translation& words)
{
    using Kind = site::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::Moved: return words.Tr("moved");
    case Kind::StepFailed:
        return Format(outcome.step == site::MoveStep::SetAddress ? words.Tr("set-address: %s") : words.Tr("verify: %s"),
                      FailureText(outcome.failure, words).c_str());
    case Kind::SecondAtFactory: return Format(words.Tr("another controller still at %u"), from);
    case Kind::AdapterLost: return words.Tr("adapter lost");
    case Kind::Stopped: return words.Tr("interrupted");
    case Kind::OtherMaster: break;
    }
    return words.Tr("another master");
}

std::string CalibrationText(const site::Calibration& calibration, const Translation& words)
{
    using Kind = site::Calibration::Kind;
    switch (calibration.kind) {
    case Kind::Skipped: return words.Tr("skipped");
    case Kind::Calibrated: return words.Tr("calibrated");
    case Kind::RopeDry: return Format(words.Tr("rope dry (value 0x%04X)"), calibration.value);
    case Kind::Failed:
        return calibration.failure.kind == site::Failure::EchoOnly ? words.Tr("no answer")
                                                                   : FailureText(calibration.failure, words);
    case Kind::NotAsked: break;
    }
    return words.Tr("not asked");
}

std::string RecordProblemText(const site::RecordProblem& problem, const Translation& words)
{
    switch (problem.kind) {
    case site::RecordProblem::Kind::ForeignHeader:
        return Format(words.Tr("it does not begin with the line %s"), std::string(site::kRecordHeader).c_str());
    case site::RecordProblem::Kind::CutShort:
        return Format(words.Tr("line %zu is cut short (it has no line end)"), problem.line);
    case site::RecordProblem::Kind::NotARow: break;
    }
    return Format(words.Tr("line %zu is not a row of the record"), problem.line);
}

std::string OtherMasterText(const site::OtherMaster& master, const Translation& words)
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

std::string Verdict(const site::Diagnosis& diagnosis, const Translation& words)
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

}  // namespace tarnel::words
