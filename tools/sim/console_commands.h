#pragma once

#include "controller_bus.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnel::sim {

// Carries out one line of the simulator's standard input on `bus`: "add
// CONTROLLER" connects one more controller, "remove ADDRESS" disconnects all
// at ADDRESS. Returns the line that acknowledges it, "error: ..." for a line
// that changed nothing; a blank line does nothing and is not acknowledged.
std::string RunConsoleCommand(std::string_view line, ControllerBus& bus);

// Cuts standard input into lines as it arrives; a partial line waits for its newline.
class ConsoleLines {
public:
    std::vector<std::string> Feed(std::string_view bytes);

    // At the end of input: the last line if it had no newline, else nothing.
    std::string Finish() { return std::exchange(partial_, {}); }

private:
    std::string partial_;
};

}  // namespace tarnel::sim
