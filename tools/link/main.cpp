// tarnel-link: commissioning a bus of controllers from a terminal. Finds
// every controller at any speed, moves and calibrates them, and watches the
// traffic, with the link's own frames, waits and judging.

#include "exchange_commands.h"
#include "exit_codes.h"
#include "line.h"
#include "link/protocol.h"
#include "monitor_command.h"
#include "platform/port_list.h"
#include "raw_command.h"
#include "scan_command.h"

#include <CLI/CLI.hpp>

#include <cstdio>

namespace {

using namespace tarnel;
using namespace tarnel::tool;

constexpr const char* kTimeoutHelp =
    "wait per probe in ms (20..60000, default 250). A probe and its answer take 15 bytes of line time: "
    "about 16 ms at 9600 and 19200 baud, 31 ms at 4800, 63 ms at 2400, 125 ms at 1200. Give the "
    "controller some time to answer too: 50 is safe at 9600 and up, 100 at 4800, 150 at 2400, 250 at 1200.";

const auto kAddressRange = CLI::Range(link::kFirstAddress, link::kLastAddress);

// The options every command that opens a port takes.
struct LineOptions {
    std::string port;
    std::string baud = "9600";
    bool trace = false;

    enum Speeds { OneSpeed, AllSpeeds };
    enum Traffic { Sends, ListensOnly };

    void AddTo(CLI::App& command, Speeds speeds, Traffic traffic)
    {
        const bool allSpeeds = speeds == AllSpeeds;
        command.add_option("--port,-p", port, "port number as in the window (1..255), or a device path")
            ->required()
            ->check([](const std::string& text) {
                const bool number = text.find_first_not_of("0123456789") == std::string::npos;
                return !number || (text.size() <= 3 && std::stoul(text) >= 1 && std::stoul(text) <= 255)
                           ? std::string()
                           : "a port number is 1..255";
            });
        command.add_option("--baud,-b", baud,
                           allSpeeds ? "1200, 2400, 4800, 9600 (default), 19200, or all"
                                     : "1200, 2400, 4800, 9600 (default) or 19200")
            ->check([allSpeeds](const std::string& text) {
                const auto indexes = BaudIndexes(text);
                return indexes && (allSpeeds || indexes->size() == 1) ? std::string() : "unknown speed " + text;
            });
        if (traffic == Sends) {
            command.add_flag("--trace", trace, "print each frame sent and received on standard error");
        }
    }

    int BaudIndex() const { return BaudIndexes(baud)->front(); }
};

int ListPorts()
{
    const auto ports = platform::ListPorts();
    if (ports.empty()) {
        std::printf("no serial ports\n");
    }
    for (const platform::PortInfo& info : ports) {
        std::printf("%3u  %s%s%s\n", info.number, info.device.c_str(), info.description.empty() ? "" : "  ",
                    info.description.c_str());
    }
    return kSuccess;
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app("Commissions leak-detection controllers on a serial bus.", "tarnel-link");
    app.require_subcommand(1);

    app.add_subcommand("ports", "list the serial ports, numbered as the window numbers them");

    ScanRequest scan;
    LineOptions scanLine;
    CLI::App* scanCommand = app.add_subcommand("scan", "find the controllers on the bus");
    scanLine.AddTo(*scanCommand, LineOptions::AllSpeeds, LineOptions::Sends);
    scanCommand->add_option("--from", scan.from, "first address (default 0)")->check(kAddressRange);
    scanCommand->add_option("--to", scan.to, "last address (default 255)")->check(kAddressRange);
    scanCommand->add_option("--timeout", scan.timeoutMs, kTimeoutHelp)->check(CLI::Range(20, 60000));
    scanCommand->add_flag("--all", scan.all, "list every controller instead of stopping at the first");
    scanCommand->add_flag("--json", scan.json, "results as JSON");

    LineOptions moveLine;
    std::uint32_t oldAddress = 0, newAddress = 0, verifyTimeout = 250;
    bool verify = false;
    CLI::App* moveCommand = app.add_subcommand("set-address", "give the controller at OLD the address NEW");
    moveLine.AddTo(*moveCommand, LineOptions::OneSpeed, LineOptions::Sends);
    moveCommand->add_option("OLD", oldAddress, "its address now")->required()->check(kAddressRange);
    moveCommand->add_option("NEW", newAddress, "its new address")->required()->check(kAddressRange);
    moveCommand->add_flag("--verify", verify, "then probe NEW to see that the controller answers there");
    moveCommand->add_option("--timeout", verifyTimeout, "wait of the verifying probe in ms (default 250)")
        ->check(CLI::Range(20, 60000));

    LineOptions calibrateLine;
    std::uint32_t calibrateAddress = 0;
    CLI::App* calibrateCommand = app.add_subcommand(
        "calibrate", "zero-calibrate the rope of channel A (its first 0 to 0.3 m lying in water)");
    calibrateLine.AddTo(*calibrateCommand, LineOptions::OneSpeed, LineOptions::Sends);
    calibrateCommand->add_option("ADDRESS", calibrateAddress, "the controller")->required()->check(kAddressRange);

    LineOptions monitorLine;
    CLI::App* monitorCommand =
        app.add_subcommand("monitor", "print every frame on the bus, sending nothing, until Ctrl-C");
    monitorLine.AddTo(*monitorCommand, LineOptions::OneSpeed, LineOptions::ListensOnly);

    std::vector<std::string> rawArgs;
    CLI::App* rawCommand = app.add_subcommand("raw", "the link's low-level operations in sequence");
    rawCommand->add_option("ARGS", rawArgs, "PORT BAUD_INDEX COMMAND...")->required();
    rawCommand->footer(RawUsage());

    try {
        app.parse(argc, argv);
        if (scan.from > scan.to) {
            throw CLI::ValidationError("--from", "must not lie above --to");
        }
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kSuccess : kBadCommand;
    }

    if (app.got_subcommand("ports")) {
        return ListPorts();
    }
    if (scanCommand->parsed()) {
        scan.port = {scanLine.port};
        scan.baudIndexes = *BaudIndexes(scanLine.baud);
        scan.trace = scanLine.trace;
        return RunScan(scan);
    }
    if (moveCommand->parsed()) {
        return RunSetAddress({moveLine.port}, moveLine.BaudIndex(), oldAddress, newAddress, verify, verifyTimeout,
                             Trace(moveLine.trace));
    }
    if (calibrateCommand->parsed()) {
        return RunCalibrate({calibrateLine.port}, calibrateLine.BaudIndex(), calibrateAddress,
                            Trace(calibrateLine.trace));
    }
    if (monitorCommand->parsed()) {
        return RunMonitor({monitorLine.port}, monitorLine.BaudIndex());
    }
    return RunRaw(rawArgs);
}
