#include "console_commands.h"

#include "messages/messages.h"
#include "options.h"

namespace tarnel::sim {
namespace {

using messages::Format;
using messages::Tr;
using messages::TrN;

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
        return Format(Tr("error: %s"), error.c_str());
    }
    const auto together = static_cast<unsigned long>(bus.Add(*controller));
    std::string description = Describe(*controller);
    if (together > 1) {
        // TRANSLATORS: %s describes the controller just connected ("answers, rope dry"); %lu counts the controllers
        // now sharing its address.
        description = Format(TrN("%s; %lu controller at this address now", "%s; %lu controllers at this address now",
                                 together),
                             description.c_str(), together);
    }
    return Format(Tr("added controller %u: %s"), controller->address, description.c_str());
}

std::string Remove(std::string_view text, ControllerBus& bus)
{
    std::string error;
    const auto address = ParseAddress(text, error);
    if (!address) {
        return Format(Tr("error: %s"), error.c_str());
    }
    switch (const auto removed = static_cast<unsigned long>(bus.Remove(*address))) {
    case 0: return Format(Tr("no controller at %u"), *address);
    case 1: return Format(Tr("removed controller %u"), *address);
    default:
        // TRANSLATORS: %lu controllers were disconnected; %u is the bus address they shared.
        return Format(TrN("removed %lu controller at %u", "removed %lu controllers at %u", removed), removed,
                      *address);
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
    // TRANSLATORS: %s is the first word of a line typed on the simulator's console; "add" and "remove" are typed as
    // they are.
    return Format(Tr("error: unknown command: %s (add CONTROLLER or remove ADDRESS)"), std::string(command).c_str());
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
