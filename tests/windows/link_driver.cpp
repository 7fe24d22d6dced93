// The window's link on Windows, step by step on one opening of a COM port,
// for the Wine link test: "link_driver PORT BAUD_INDEX COMMAND...", one line
// printed for each command.
//   probe ADDRESS MS | pause MS (the line left alone) | read (up to 7 bytes, within the read time-outs)
// A port that does not open: the window's text on why, and exit status 3.

#include "link/device_commands.h"
#include "link/port_line.h"
#include "link/serial_port.h"
#include "port_failure_text.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    using namespace tarnel;
    using Clock = std::chrono::steady_clock;
    if (argc < 3) {
        std::fprintf(stderr, "usage: link_driver PORT BAUD_INDEX COMMAND...\n");
        return 2;
    }
    platform::OpenFailure failure;
    platform::SerialLine port = link::OpenPort(std::stoul(argv[1]), std::stoi(argv[2]), &failure);
    if (!port.IsOpen()) {
        std::printf("%s\n", DescribeOpenFailure(std::stoul(argv[1]), failure).c_str());
        return 3;
    }
    link::PortLine line(port);
    for (int at = 3; at < argc;) {
        const std::string command = argv[at++];
        const auto number = [&] { return static_cast<unsigned>(std::stoul(argv[at++])); };
        if (command == "probe") {
            const unsigned address = number();
            std::printf("probe %u %s\n", address, link::ProbeAddress(line, address, number()) ? "answered" : "silent");
        } else if (command == "pause") {
            std::this_thread::sleep_for(std::chrono::milliseconds(number()));
            std::printf("paused\n");
        } else if (command == "read") {
            std::array<std::uint8_t, 7> buffer{};
            const auto start = Clock::now();
            const std::size_t got = port.Read(buffer);
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            std::printf("read %zu bytes after %lld ms\n", got, static_cast<long long>(ms));
        } else {
            std::fprintf(stderr, "unknown command %s\n", command.c_str());
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
