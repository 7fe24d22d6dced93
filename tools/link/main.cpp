// tarnel-link: the device link's operations from the command line, one
// port opening for a whole sequence of commands. For checking a line and an
// adapter without the window, and for testing the link on another system.

#include "link/device_commands.h"
#include "link/serial_port.h"
#include "platform/clock.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace tarnel;

constexpr const char* kUsage =
    "usage: tarnel-link PORT BAUD_INDEX COMMAND...\n"
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
    "The exit status is 0 when every command succeeded.\n";

bool NumberArg(const std::vector<std::string>& args, std::size_t at, long& value)
{
    if (at >= args.size()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtol(args[at].c_str(), &end, 10);
    return end && *end == '\0' && !args[at].empty();
}

// Runs the command at args[at]; returns how many words it took, 0 when it is
// not understood. `ok` turns false when the command failed.
std::size_t RunCommand(link::PortHandle& port, const std::vector<std::string>& args, std::size_t at, bool& ok)
{
    const std::string& command = args[at];
    long a = 0;
    long b = 0;
    if (command == "settings") {
        platform::LineSettings s;
        const bool read = port.ReadSettings(s);
        std::printf("settings %s baud=%u data=%u parity=%d two-stop=%d parity-check=%d abort-on-error=%d\n",
                    read ? "read" : "failed", s.baudRate, s.dataBits, s.parity, s.twoStopBits, s.parityCheck,
                    s.abortOnError);
        ok = ok && read;
        return 1;
    }
    if (command == "probe" && NumberArg(args, at + 1, a) && NumberArg(args, at + 2, b)) {
        const bool answered = link::ProbeAddress(port, static_cast<unsigned>(a), static_cast<std::uint32_t>(b));
        std::printf("probe %ld %s\n", a, answered ? "answered" : "silent");
        ok = ok && answered;
        return 3;
    }
    if (command == "set-address" && NumberArg(args, at + 1, a) && NumberArg(args, at + 2, b)) {
        const bool answered = link::SetDeviceAddress(port, static_cast<unsigned>(a), static_cast<unsigned>(b));
        std::printf("set-address %ld %ld %s\n", a, b, answered ? "answered" : "silent");
        ok = ok && answered;
        return 3;
    }
    if (command == "calibrate" && NumberArg(args, at + 1, a)) {
        const bool confirmed = link::ZeroCalibrate(port, static_cast<unsigned>(a));
        std::printf("calibrate %ld %s\n", a, confirmed ? "confirmed" : "failed");
        ok = ok && confirmed;
        return 2;
    }
    if (command == "wait" && NumberArg(args, at + 1, a) && NumberArg(args, at + 2, b)) {
        const std::uint32_t start = platform::TickCount();
        const std::uint32_t queued =
            link::WaitForInput(port, static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b));
        std::printf("wait queued=%u after %u ms\n", queued, platform::TickCount() - start);
        return 3;
    }
    if (command == "read") {
        std::array<std::uint8_t, 7> buffer{};
        const std::uint32_t start = platform::TickCount();
        const std::size_t got = port.Read(buffer);
        std::printf("read %zu bytes after %u ms:", got, platform::TickCount() - start);
        for (std::size_t i = 0; i < got; ++i) {
            std::printf(" %02X", buffer[i]);
        }
        std::printf("\n");
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    long portNumber = 0;
    long baudIndex = 0;
    if (args.size() < 3 || !NumberArg(args, 0, portNumber) || !NumberArg(args, 1, baudIndex) || portNumber <= 0) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    platform::OpenFailure failure;
    link::PortHandle port = link::OpenPort(static_cast<unsigned>(portNumber), static_cast<int>(baudIndex), &failure);
    if (!port.IsOpen()) {
        std::fprintf(stderr, "tarnel-link: cannot open port %ld (%s): %s\n", portNumber, failure.device.c_str(),
                     failure.error.message().c_str());
        return 1;
    }
    std::printf("opened port %ld\n", portNumber);
    std::fflush(stdout);
    bool ok = true;
    for (std::size_t at = 2; at < args.size();) {
        const std::size_t used = RunCommand(port, args, at, ok);
        if (used == 0) {
            std::fprintf(stderr, "tarnel-link: not a command: %s\n\n%s", args[at].c_str(), kUsage);
            return 2;
        }
        std::fflush(stdout);
        at += used;
    }
    return ok ? 0 : 1;
}
