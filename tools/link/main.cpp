// tarnel-link: commissioning a bus of controllers from a terminal. Finds
// every controller at any speed, moves and calibrates them, and watches the
// traffic, telling apart what really came back on the line.

#include "command_line.h"
#include "exit_codes.h"
#include "messages/messages.h"
#include "monitor_command.h"
#include "platform/port_list.h"

#include <cstdio>
#include <iostream>

namespace {

using namespace tarnel;
using namespace tarnel::tool;

int ListPorts()
{
    const auto ports = platform::ListPorts();
    if (ports.empty()) {
        std::printf("%s\n", messages::Tr("no serial ports"));
    }
    for (const platform::PortInfo& info : ports) {
        std::printf("%3u  %s%s%s\n", info.number, info.device.c_str(), info.description.empty() ? "" : "  ",
                    info.description.c_str());
    }
    return kSuccess;
}

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

int main(int argc, char** argv)
{
    messages::UseUserLanguage();
    const auto parsed = ParseCommandLine({argv + 1, argv + argc}, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed)) {
        return *status;
    }
    return std::visit(Overloaded{
                          [](const ListPortsCommand&) { return ListPorts(); },
                          [](const ScanRequest& scan) { return RunScan(scan); },
                          [](const SetAddressCommand& c) { return RunSetAddress(c.exchange, c.move); },
                          [](const CalibrateCommand& c) { return RunCalibrate(c.exchange, c.address); },
                          [](const MonitorCommand& c) { return RunMonitor(c.port, c.baudIndex); },
                          [](const CommissionOptions& c) { return RunCommission(c); },
                          [](const DoctorRequest& d) { return RunDoctor(d); },
                          [](const ReportRequest& r) { return RunReport(r); },
                      },
                      std::get<Command>(parsed));
}
