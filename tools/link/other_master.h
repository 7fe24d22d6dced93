#pragma once

#include "bus.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tarnel::tool {

// "requests to 30 and 31, about 2 a second"
std::string DescribeOtherMaster(const OtherMaster& master);

// Runs `send` on a bus that another master may be using: listens first for
// `listenMs`, and once a request not sent here is heard, nothing more is
// sent, the other master is listened to a little longer to say what it
// does, and the status is kOtherMaster. With `force` it goes on, and says so
// at the end.
int SharingTheBus(Bus& bus, std::uint32_t listenMs, bool force, const std::function<int()>& send);

}  // namespace tarnel::tool
