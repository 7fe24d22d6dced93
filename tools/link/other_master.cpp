#include "other_master.h"

#include "console.h"
#include "exit_codes.h"
#include "messages.h"

#include <cmath>
#include <cstdio>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;
using messages::TrN;

namespace {

// How long another master is listened to once heard, to tell its pace.
constexpr std::uint32_t kCharacteriseMs = 1000;

}  // namespace

std::string DescribeOtherMaster(const OtherMaster& master)
{
    std::string addresses;
    std::size_t left = master.addresses.size();
    for (const std::uint32_t address : master.addresses) {
        addresses += std::to_string(address) + (--left == 0 ? "" : left == 1 ? Tr(" and ") : ", ");
    }
    std::string text = Format(TrN("a request to %s", "requests to %s", master.requests), addresses.c_str());
    const double seconds = std::chrono::duration<double>(master.last - master.first).count();
    if (master.requests < 2 || seconds <= 0) {
        return text;
    }
    const double perSecond = static_cast<double>(master.requests - 1) / seconds;
    if (perSecond >= 1) {
        return text + Format(Tr(", about %ld a second"), std::lround(perSecond));
    }
    return text + Format(Tr(", about one every %ld s"), std::lround(1 / perSecond));
}

int SharingTheBus(Bus& bus, std::uint32_t listenMs, bool force, const std::function<int()>& send)
{
    if (force) {
        bus.AllowOtherMasters();
    }
    bus.Listen(listenMs);
    bus.TakeOthers();
    const int status = bus.Stopped() && bus.OtherMasterHeard() ? kOtherMaster : send();
    if (!bus.OtherMasterHeard()) {
        return status;
    }
    if (force) {
        Report(Format(Tr("another master used this bus (%s): sent all the same (--force)"),
                      DescribeOtherMaster(*bus.OtherMasterHeard()).c_str()));
        return status;
    }
    bus.Listen(kCharacteriseMs);
    bus.TakeOthers();
    Report(Format(Tr("another master is using this bus (%s): nothing more is sent"),
                  DescribeOtherMaster(*bus.OtherMasterHeard()).c_str()));
    return kOtherMaster;
}

}  // namespace tarnel::tool
