// tarnel-sim: leak-detection controllers on a simulated serial bus, for
// practice without hardware and for the end-to-end tests.

#include "bus_line.h"
#include "controller_bus.h"
#include "options.h"
#include "request_framer.h"
#include "trace.h"

#include <chrono>
#include <cstdio>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace tarnel::sim;

// A pause this long between two bytes ends any partial request, as the
// inter-frame silence does on a Modbus line.
constexpr auto kFrameGap = std::chrono::milliseconds(50);

const char* Describe(const Controller& controller)
{
    switch (controller.fault) {
    case Fault::Silent: return "never answers";
    case Fault::BadCheck: return "answers with a wrong frame check";
    case Fault::ShortReply: return "answers with 5 bytes only";
    case Fault::None: break;
    }
    return "answers";
}

void Announce(const BusLine& line, const Options& options)
{
    if (options.device.empty()) {
        std::printf("Simulated bus on %s\n", line.peerPath.c_str());
        std::printf("To make it Tarnel's port 1:\nTARNEL_PORTS=%s\n", line.peerPath.c_str());
    } else {
        std::printf("Serving the bus on %s at %u baud\n", line.peerPath.c_str(), options.baud);
    }
    for (const Controller& c : options.controllers) {
        std::printf("controller %u: %s%s%s, rope %s\n", c.address, Describe(c),
                    c.delayMs ? (" after " + std::to_string(c.delayMs) + " ms").c_str() : "",
                    c.baud ? (" at " + std::to_string(c.baud) + " baud only").c_str() : "",
                    c.ropeInWater ? "in water" : "dry");
    }
    std::fflush(stdout);
}

int Serve(const BusLine& line, ControllerBus& bus)
{
    RequestFramer framer;
    auto lastByte = std::chrono::steady_clock::now();
    std::uint8_t buffer[256];
    std::string note;
    for (;;) {
        pollfd ready{line.fd, POLLIN, 0};
        if (::poll(&ready, 1, -1) < 0) {
            continue;
        }
        const ssize_t n = ::read(line.fd, buffer, sizeof buffer);
        if (n <= 0) {
            std::perror("tarnel-sim: read");
            return 1;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - lastByte > kFrameGap) {
            framer.Reset();
        }
        lastByte = now;
        for (const auto& request : framer.Feed(std::span(buffer, static_cast<std::size_t>(n)))) {
            const auto reply = bus.Handle(request, LineBaud(line.fd), note);
            Trace("<-", request, reply ? std::string_view{} : "no answer");
            if (!reply) {
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(reply->delayMs));
            if (::write(line.fd, reply->bytes.data(), reply->bytes.size()) < 0) {
                std::perror("tarnel-sim: write");
            }
            Trace("->", reply->bytes, note);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("%s", kUsage);
        return 0;
    }
    std::string error;
    const auto options = ParseOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "tarnel-sim: %s\n\n%s", error.c_str(), kUsage);
        return 2;
    }
    const BusLine line = OpenBusLine(options->device, options->baud, error);
    if (line.fd < 0) {
        std::fprintf(stderr, "tarnel-sim: %s\n", error.c_str());
        return 1;
    }
    Announce(line, *options);
    ControllerBus bus(options->controllers);
    return Serve(line, bus);
}
