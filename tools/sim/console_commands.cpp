#include "console_commands.h"

#include "options.h"

namespace tarnel::sim {
namespace {

// A carriage return too: lines typed on a terminal of another system end in one.
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Add(std::string_view text, ControllerBus& bus)
{
    std::string error;
    const auto controller = ParseController(text, error);
    if (!controller) {
        return "error: " + error;
    }
    const std::size_t together = bus.Add(*controller);
    std::string ack = "added controller " + std::to_string(controller->address) + ": " + Describe(*controller);
    if (together > 1) {
        ack += "; " + std::to_string(together) + " controllers at this address now";
    }
    return ack;
}

std::string Remove(std::string_view text, ControllerBus& bus)
{
    std::string error;
    const auto address = ParseAddress(text, error);
    if (!address) {
        return "error: " + error;
    }
    const std::string at = std::to_string(*address);
    switch (const std::size_t removed = bus.Remove(*address)) {
    case 0: return "no controller at " + at;
    case 1: return "removed controller " + at;
    default: return "removed " + std::to_string(removed) + " controllers at " + at;
    }
}

}  // namespace

std::string RunConsoleCommand(std::string_view line, ControllerBus& bus)
{
    const std::string_view words = Trimmed(line);
    if (words.empty()) {
        return {};
    }
    const auto blank = words.find_first_of(kBlanks);
    const std::string_view command = words.substr(0, blank);
    const std::string_view argument = blank == std::string_view::npos ? "" : Trimmed(words.substr(blank));
    if (command == "add") {
        return Add(argument, bus);
    }
    if (command == "remove") {
        return Remove(argument, bus);
    }
    return "error: unknown command: " + std::string(command) + " (add CONTROLLER or remove ADDRESS)";
}

std::vector<std::string> ConsoleLines::Feed(std::string_view bytes)
{
    std::vector<std::string> lines;
    for (const char c : bytes) {
        if (c == '\n') {
            lines.push_back(std::exchange(partial_, {}));
        } else {
            partial_ += c;
        }
    }
    return lines;
}

}  // namespace tarnel::sim
