// tarnel-sim: leak-detection controllers on a simulated serial bus, for
// practice without hardware and for the end-to-end tests.

#include "bus_line.h"
#include "console_commands.h"
#include "controller_bus.h"
#include "options.h"
#include "request_framer.h"
#include "trace.h"

#include "link/frames.h"
#include "link/line_timing.h"
#include "messages/messages.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <poll.h>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

using namespace tarnel::sim;
using tarnel::messages::Format;
using tarnel::messages::Tr;

// A pause this long between two bytes ends any partial request, as the
// inter-frame silence does on a Modbus line.
constexpr auto kFrameGap = std::chrono::milliseconds(50);

using Clock = std::chrono::steady_clock;

// An error on standard error, after the program's name.
void Complain(const std::string& message)
{
    std::fprintf(stderr, "tarnel-sim: %s\n", message.c_str());
}

void ComplainOfWrite()
{
    const int reason = errno;
    // TRANSLATORS: writing to the serial line failed; %s is the system's reason, such as "Input/output error".
    Complain(Format(Tr("write: %s"), std::strerror(reason)));
}

void Announce(const BusLine& line, const Options& options)
{
    if (options.device.empty()) {
        // TRANSLATORS: %s is the path of the pseudo-terminal, such as /dev/pts/3.
        std::puts(Format(Tr("Simulated bus on %s"), line.peerPath.c_str()).c_str());
        std::puts(Tr("To make it Tarnel's port 1:"));
        // Scripts and tests take the path from this line.
        std::printf("TARNEL_PORTS=%s\n", line.peerPath.c_str());
    } else {
        // TRANSLATORS: %s is a serial device, such as /dev/ttyUSB0; %u is its line speed.
        std::puts(Format(Tr("Serving the bus on %s at %u baud"), line.peerPath.c_str(), options.baud).c_str());
    }
    for (const Controller& c : options.controllers) {
        // TRANSLATORS: %u is a simulated controller's bus address, %s what it does ("answers after 100 ms, rope dry").
        std::puts(Format(Tr("controller %u: %s"), c.address, Describe(c).c_str()).c_str());
    }
    std::fflush(stdout);
}

// Writes `bytes` at `start`; on a timed line one by one, each when its last
// bit would have left at `baud`.
void Answer(int fd, const std::vector<std::uint8_t>& bytes, Clock::time_point start, unsigned baud, bool lineTime)
{
    for (std::size_t sent = 0; sent < bytes.size();) {
        const std::size_t count = lineTime ? 1 : bytes.size();
        std::this_thread::sleep_until(start + (lineTime ? tarnel::link::WireTime(sent + 1, baud) : Clock::duration{}));
        if (::write(fd, bytes.data() + sent, count) < 0) {
            ComplainOfWrite();
            return;
        }
        sent += count;
    }
}

// Carries out and acknowledges each whole line standard input has for us.
// Returns false once it has nothing more to give.
bool ReadConsole(ConsoleLines& console, ControllerBus& bus)
{
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
        return true;
    }
    if (n < 0) {
        const int reason = errno;
        // TRANSLATORS: %s is the system's reason, such as "Input/output error".
        Complain(Format(Tr("standard input: %s; commands are no longer read"), std::strerror(reason)));
    }
    // The end of input ends a last line that lacks its newline.
    const auto lines = n > 0 ? console.Feed({buffer, static_cast<std::size_t>(n)}) : std::vector{console.Finish()};
    for (const std::string& line : lines) {
        if (const std::string ack = RunConsoleCommand(line, bus); !ack.empty()) {
            std::printf("%s\n", ack.c_str());
        }
    }
    std::fflush(stdout);
    return n > 0;
}

// Another master's probe of `address` on the line, and the answer, as the
// service tool hears them.
void PollAsOtherMaster(const BusLine& line, ControllerBus& bus, unsigned address)
{
    const auto request = tarnel::link::ProbeFrame(static_cast<std::uint8_t>(address));
    if (::write(line.fd, request.data(), request.size()) < 0) {
        ComplainOfWrite();
        return;
    }
    std::string note;
    const auto reply = bus.Handle(request, LineBaud(line.fd), note);
    Trace("master ->", request, reply ? std::string_view{} : Tr("no answer"));
    if (reply) {
        std::this_thread::sleep_for(std::chrono::milliseconds(reply->delayMs + 2));
        Answer(line.fd, reply->bytes, Clock::now(), 0, false);
        Trace("->", reply->bytes, note);
    }
}

// One to three random bytes, too few to make a frame, as an unterminated
// line picks up.
void Noise(const BusLine& line, std::minstd_rand& random)
{
    std::vector<std::uint8_t> bytes(random() % 3 + 1);
    for (std::uint8_t& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    if (::write(line.fd, bytes.data(), bytes.size()) < 0) {
        ComplainOfWrite();
        return;
    }
    Trace("noise ->", bytes, {});
}

int Serve(const BusLine& line, ControllerBus& bus, const Options& options)
{
    RequestFramer framer;
    auto lastByte = Clock::now();
    Clock::time_point lastActivity;  // the end of the last byte on the line
    Clock::time_point requestStart;
    bool early = false;  // the request under way began too soon after other traffic
    std::uint8_t buffer[256];
    std::string note;
    ConsoleLines console;
    pollfd ready[] = {{line.fd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    auto masterDue = Clock::now();
    auto noiseDue = Clock::now();
    std::minstd_rand random(1);
    for (;;) {
        std::optional<Clock::time_point> next;
        if (options.master) {
            if (Clock::now() >= masterDue) {
                masterDue += std::chrono::milliseconds(options.master->periodMs);
                PollAsOtherMaster(line, bus, options.master->address);
                lastActivity = Clock::now();
            }
            next = masterDue;
        }
        if (options.noiseMs != 0) {
            if (Clock::now() >= noiseDue) {
                noiseDue += std::chrono::milliseconds(options.noiseMs);
                Noise(line, random);
            }
            next = next ? std::min(*next, noiseDue) : noiseDue;
        }
        const int wait =
            next ? static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(*next - Clock::now()).count()) : -1;
        if (::poll(ready, std::size(ready), std::max(wait, 0) - (next ? 0 : 1)) <= 0) {
            continue;
        }
        if (ready[1].revents != 0 && !ReadConsole(console, bus)) {
            ready[1].fd = -1;  // poll passes over it from now on; the bus is still served
        }
        if (ready[0].revents == 0) {
            continue;
        }
        const ssize_t n = ::read(line.fd, buffer, sizeof buffer);
        if (n <= 0) {
            const int reason = errno;
            // TRANSLATORS: reading the serial line failed; %s is the system's reason, such as "Input/output error".
            Complain(Format(Tr("read: %s"), std::strerror(reason)));
            return 1;
        }
        const auto now = Clock::now();
        if (now - lastByte > kFrameGap) {
            framer.Reset();
        }
        const unsigned baud = LineBaud(line.fd);
        const bool timed = options.lineTime && baud != 0;
        if (framer.Empty()) {
            requestStart = now;
            early = timed && now - lastActivity < tarnel::link::FrameGap(baud);
        }
        lastByte = lastActivity = now;
        if (options.echo && ::write(line.fd, buffer, static_cast<std::size_t>(n)) < 0) {
            ComplainOfWrite();
        }
        for (const auto& request : framer.Feed(std::span(buffer, static_cast<std::size_t>(n)))) {
            if (early) {
                Trace("<-", request, Tr("ignored: it began less than 3.5 characters after the last traffic"));
                continue;
            }
            const auto reply = bus.Handle(request, baud, note);
            Trace("<-", request, reply ? std::string_view{} : Tr("no answer"));
            if (!reply) {
                continue;
            }
            const auto requestEnd = timed ? requestStart + tarnel::link::WireTime(request.size(), baud) : now;
            Answer(line.fd, reply->bytes, requestEnd + std::chrono::milliseconds(reply->delayMs), baud, timed);
            lastActivity = Clock::now();
            Trace("->", reply->bytes, note);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    tarnel::messages::UseUserLanguage();
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("%s", Usage().c_str());
        return 0;
    }
    std::string error;
    const auto options = ParseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "tarnel-sim: %s\n\n%s", error.c_str(), Usage().c_str());
        return 2;
    }
    const BusLine line = OpenBusLine(options->device, options->baud, error);
    if (line.fd < 0) {
        Complain(error);
        return 1;
    }
    // Run in the background of a shell, a read of its terminal would stop the
    // simulator and with it the bus; ignored, the read fails and the bus goes on.
    std::signal(SIGTTIN, SIG_IGN);
    Announce(line, *options);
    ControllerBus bus(options->controllers);
    return Serve(line, bus, *options);
}
