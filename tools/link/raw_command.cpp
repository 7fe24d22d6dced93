// tarnel-link raw: the link's low-level operations in sequence on one port
// opening, for checking a line and an adapter step by step, and for testing
// the link on another system.

#include "raw_command.h"

#include "decimal.h"
#include "exit_codes.h"
#include "link/device_commands.h"
#include "link/protocol.h"
#include "link/serial_port.h"
#include "platform/clock.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tarnel::tool {
namespace {

constexpr const char* kUsage =
    "usage: tarnel-link raw PORT BAUD_INDEX COMMAND...\n"
    "\n"
    "Opens serial port number PORT with baud-rate index BAUD_INDEX (0 = 1200,\n"
    "1 = 2400, 2 = 4800, 3 = 9600, 4 = 19200, -1 = keep the port's speed) and\n"
    "runs the commands in order, printing one line for each:\n"
    "  settings              the line settings the port reports\n"
    "  probe ADDRESS MS      probe an address, waiting up to MS for the answer\n"
    "  set-address OLD NEW   give the controller at OLD the address NEW\n"
    "  calibrate ADDRESS     zero-calibrate the rope of channel A\n"
    "  wait COUNT MS         wait until COUNT bytes are queued or MS pass\n"
    "  read                  read up to 7 bytes within the read time-outs\n"
    "Addresses are 0 to 255. Every command is checked before the port opens.\n"
    "The exit status is 0 when every command succeeded, 1 when one failed.\n";

struct Command {
    std::string name;
    std::vector<long> numbers;
};

struct Range {
    long min;
    long max;
};

// Each command with the allowed range of each of its numbers. Addresses
// are whole bus addresses: nothing outside 0-255 goes on the wire.
constexpr Range kAddress{link::kFirstAddress, link::kLastAddress};
const std::map<std::string, std::vector<Range>> kCommands{
    {"settings", {}},
    {"probe", {kAddress, {0, 60000}}},
    {"set-address", {kAddress, kAddress}},
    {"calibrate", {kAddress}},
    {"wait", {{0, 65535}, {0, 60000}}},
    {"read", {}},
};

std::optional<long> Number(const std::string& text, Range range)
{
    // -1 is the one negative number: the baud index that keeps the port's speed.
    if (text == "-1" && range.min == -1) {
        return -1;
    }
    return ParseDecimal(text, static_cast<std::uint32_t>(std::max(range.min, 0L)), static_cast<std::uint32_t>(range.max));
}

// Reads every command before anything is sent; on a mistake says which.
std::optional<std::vector<Command>> ParseCommands(const std::vector<std::string>& words, std::string& error)
{
    std::vector<Command> commands;
    for (std::size_t at = 0; at < words.size();) {
        const auto form = kCommands.find(words[at]);
        if (form == kCommands.end()) {
            error = "not a command: " + words[at];
            return std::nullopt;
        }
        Command command{words[at++], {}};
        for (const Range range : form->second) {
            const auto value = at < words.size() ? Number(words[at], range) : std::nullopt;
            if (!value) {
                error = command.name + " needs whole numbers from " + std::to_string(range.min) + " to " +
                        std::to_string(range.max);
                return std::nullopt;
            }
            command.numbers.push_back(*value);
            ++at;
        }
        commands.push_back(std::move(command));
    }
    return commands;
}

// Runs one command and prints its line; false when it failed.
bool Run(link::PortHandle& port, const Command& command)
{
    const auto n = [&command](std::size_t i) { return static_cast<std::uint32_t>(command.numbers[i]); };
    if (command.name == "settings") {
        platform::LineSettings s;
        const bool read = port.ReadSettings(s);
        std::printf("settings %s baud=%u data=%u parity=%d two-stop=%d parity-check=%d abort-on-error=%d\n",
                    read ? "read" : "failed", s.baudRate, s.dataBits, s.parity, s.twoStopBits, s.parityCheck,
                    s.abortOnError);
        return read;
    }
    if (command.name == "probe") {
        const bool answered = link::ProbeAddress(port, n(0), n(1));
        std::printf("probe %u %s\n", n(0), answered ? "answered" : "silent");
        return answered;
    }
    if (command.name == "set-address") {
        const bool answered = link::SetDeviceAddress(port, n(0), n(1));
        std::printf("set-address %u %u %s\n", n(0), n(1), answered ? "answered" : "silent");
        return answered;
    }
    if (command.name == "calibrate") {
        const bool confirmed = link::ZeroCalibrate(port, n(0));
        std::printf("calibrate %u %s\n", n(0), confirmed ? "confirmed" : "failed");
        return confirmed;
    }
    const std::uint32_t start = platform::TickCount();
    if (command.name == "wait") {
        const std::uint32_t queued = link::WaitForInput(port, n(0), n(1));
        std::printf("wait queued=%u after %u ms\n", queued, platform::TickCount() - start);
        return true;
    }
    std::array<std::uint8_t, 7> buffer{};
    const std::size_t got = port.Read(buffer);
    std::printf("read %zu bytes after %u ms:", got, platform::TickCount() - start);
    for (std::size_t i = 0; i < got; ++i) {
        std::printf(" %02X", buffer[i]);
    }
    std::printf("\n");
    return true;
}

int Usage(const std::string& error)
{
    if (!error.empty()) {
        std::fprintf(stderr, "tarnel-link: %s\n\n", error.c_str());
    }
    std::fputs(kUsage, stderr);
    return kBadCommand;
}

}  // namespace

const char* RawUsage()
{
    return kUsage;
}

int RunRaw(const std::vector<std::string>& args)
{
    if (args.size() < 3) {
        return Usage({});
    }
    const long portNumber = Number(args[0], {1, 255}).value_or(0);
    const long baudIndex = Number(args[1], {-1, static_cast<long>(link::kBaudRates.size()) - 1}).value_or(-2);
    if (portNumber == 0 || baudIndex == -2) {
        return Usage("PORT is 1 to 255, BAUD_INDEX -1 to 4");
    }
    std::string error;
    const auto commands = ParseCommands({args.begin() + 2, args.end()}, error);
    if (!commands) {
        return Usage(error);
    }
    platform::OpenFailure failure;
    link::PortHandle port = link::OpenPort(static_cast<unsigned>(portNumber), static_cast<int>(baudIndex), &failure);
    if (!port.IsOpen()) {
        std::fprintf(stderr, "tarnel-link: cannot open port %ld (%s): %s\n", portNumber, failure.device.c_str(),
                     failure.error.message().c_str());
        return kCannotOpen;
    }
    std::printf("opened port %ld\n", portNumber);
    std::fflush(stdout);
    bool ok = true;
    for (const Command& command : *commands) {
        ok = Run(port, command) && ok;
        std::fflush(stdout);
    }
    return ok ? kSuccess : kNotDone;
}

}  // namespace tarnel::tool
