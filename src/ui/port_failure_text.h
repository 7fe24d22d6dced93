#pragma once

#include "platform/serial_line.h"

#include <string>

// One line for the operator on why port `portNumber` did not open: the
// device tried and the system's reason, with what to do about it.
std::string DescribeOpenFailure(unsigned portNumber, const tarnel::platform::OpenFailure& failure);

// One line for the operator on a port whose device went away while open.
std::string DescribeLostDevice(const tarnel::platform::SerialLine& line);
