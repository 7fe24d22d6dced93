#pragma once

// tarnel-link's exit status, the same for every command.
namespace tarnel::tool {

constexpr int kSuccess = 0;        // done, or found
constexpr int kNotDone = 1;        // nothing answered, or refused before sending (the new address is taken)
constexpr int kBadCommand = 2;     // the command line is wrong; nothing opened, nothing sent
constexpr int kCannotOpen = 3;     // the port did not open
constexpr int kNotConfirmed = 4;   // the controller answered, but the job is not done (dry rope, silent at NEW)
constexpr int kCorruptAnswer = 5;  // only corrupt or short answers
constexpr int kEchoOnly = 6;       // only the adapter's echo of the request
constexpr int kOtherMaster = 7;    // another master uses the bus: nothing more sent
constexpr int kProblemsFound = 8;  // the doctor found problems on the bus
constexpr int kInterrupted = 130;  // Ctrl-C

}  // namespace tarnel::tool
