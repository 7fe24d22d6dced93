#pragma once

#include "site/sweep_view.h"

namespace tarnel::tool {

// The diagnosis on standard output: for people, in their language, or as
// JSON, in English.
void PrintDiagnosis(const site::SweepEnd& end);
void PrintDiagnosisJson(const site::SweepEnd& end);

}  // namespace tarnel::tool
