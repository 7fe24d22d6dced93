#pragma once

#include "platform/serial_line.h"

#include <QString>

// One line for the operator on why port `portNumber` did not open: the
// device tried and the system's reason, with what to do about it.
QString DescribeOpenFailure(unsigned portNumber, const tarnel::platform::OpenFailure& failure);

// One line for the operator on a port whose device went away while open.
QString DescribeLostDevice(const tarnel::platform::SerialLine& line);
