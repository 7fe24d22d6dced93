#pragma once

#include "commission_command.h"
#include "doctor_command.h"
#include "exchange_commands.h"
#include "report_command.h"
#include "scan_command.h"

#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

namespace tarnel::tool {

struct ListPortsCommand {};

struct SetAddressCommand {
    ExchangeOptions exchange;
    MoveOptions move;
};

struct CalibrateCommand {
    ExchangeOptions exchange;
    std::uint32_t address = 0;
};

struct MonitorCommand {
    PortChoice port;
    int baudIndex = 3;
};

using Command =
    std::variant<ListPortsCommand, ScanRequest, SetAddressCommand, CalibrateCommand, MonitorCommand, CommissionOptions,
                 DoctorRequest, ReportRequest>;

// What a command line (the words after the program's name) asks for. For
// --help and --version, and for a mistake, nothing is to be done: the text
// goes to `out` or `err` and the exit status comes back instead.
std::variant<Command, int> ParseCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                            std::ostream& err);

}  // namespace tarnel::tool
