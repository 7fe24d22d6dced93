#pragma once

#include "messages/messages.h"
#include "site/bus.h"
#include "site/diagnosis.h"
#include "site/outcomes.h"
#include "site/record.h"

#include <cstdint>
#include <string>

// The site's typed outcomes and findings as people read them: one wording,
// in the terminal's language, the window's Chinese, or English where machine
// output carries it too.
namespace tarnel::words {

using messages::Translation;

// "valid reply", "late answer", ...: English, for machine output; Tr gives
// the user's language.
const char* HeardName(site::Heard kind);

// "no answer", "refused (exception 2)"
std::string FailureText(const site::AnswerFailure& failure, const Translation& words = messages::kUserLanguage);

// "moved", "verify: corrupt answer", "another controller still at 1"
std::string OutcomeText(const site::Outcome& outcome, std::uint32_t from,
                        const Translation& words = messages::kUserLanguage);

// "calibrated", "rope dry (value 0x0001)", "not asked"
std::string CalibrationText(const site::Calibration& calibration, const Translation& words = messages::kUserLanguage);

// "line 3 is not a row of the record"
std::string RecordProblemText(const site::RecordProblem& problem, const Translation& words = messages::kUserLanguage);

// "requests to 30 and 31, about 2 a second"
std::string OtherMasterText(const site::OtherMaster& master, const Translation& words = messages::kUserLanguage);

struct FindingText {
    std::string detail;
    std::string fix;
};
FindingText Words(const site::Finding& finding, const Translation& words = messages::kUserLanguage);

// "healthy: 3 controllers, no problem found", "2 problems found"
std::string Verdict(const site::Diagnosis& diagnosis, const Translation& words = messages::kUserLanguage);

// The verdict, then each finding and its fix, a line each.
std::string FindingsText(const site::Diagnosis& diagnosis, const Translation& words = messages::kUserLanguage);

// "controller 5 at 9600 baud answers in 3/4/6 ms (min/median/max)"
std::string ControllerText(const site::Controller& controller, const Translation& words = messages::kUserLanguage);

}  // namespace tarnel::words
