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

// Waits about `timeout` for a whole line on standard input and hands it
// over without its line end; a last line without one comes at the end.
InputLine WaitForInputLine(std::string& line, std::chrono::milliseconds timeout);

}  // namespace tarnel::platform
