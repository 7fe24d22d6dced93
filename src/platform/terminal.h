#pragma once

#include <chrono>
#include <string>

namespace tarnel::platform {

// The width in columns of the terminal that standard error writes to; 0
// when standard error goes to a file or a pipe.
unsigned ErrorTerminalColumns();

// Whether a person sits at standard input, or standard output, rather than
// a file or a pipe.
bool InputIsTerminal();
bool OutputIsTerminal();

enum class InputLine { Read, NotYet, Closed };

// Standard input a line at a time, without blocking for long.
class InputLines {
public:
    // Waits about `timeout` for a whole line and hands it over without its
    // line end; a last line without one comes at the end.
    InputLine Next(std::string& line, std::chrono::milliseconds timeout);

private:
    std::string pending_;  // what came after the last line handed over
    bool closed_ = false;
};

}  // namespace tarnel::platform
