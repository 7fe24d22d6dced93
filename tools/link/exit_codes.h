#pragma once

// tarnel-link's exit status, the same for every command.
namespace tarnel::tool {

constexpr int kSuccess = 0;      // done, or found
constexpr int kNotDone = 1;      // nothing found, or the device refused
constexpr int kBadCommand = 2;   // the command line is wrong; nothing opened, nothing sent
constexpr int kCannotOpen = 3;   // the port did not open
constexpr int kInterrupted = 130;  // Ctrl-C

}  // namespace tarnel::tool
