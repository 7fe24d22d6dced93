#pragma once

namespace tarnel::platform {

// The width in columns of the terminal that standard error writes to; 0
// when standard error goes to a file or a pipe.
unsigned ErrorTerminalColumns();

}  // namespace tarnel::platform
