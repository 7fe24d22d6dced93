#pragma once

#include <string>

namespace tarnel::tool {

// `tarnel-link report`: the handover report of a commissioning record.
struct ReportRequest {
    std::string record;
    std::string site;    // empty: the name of the record's folder
    std::string output;  // empty: beside the record; "-": standard output
    bool force = false;  // replace an output file that is not a report
};

// Writes the report; the tool's exit status.
int RunReport(const ReportRequest& request);

}  // namespace tarnel::tool
