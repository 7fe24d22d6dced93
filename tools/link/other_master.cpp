#include "other_master.h"

#include "exit_codes.h"

#include <cmath>
#include <cstdio>

namespace tarnel::tool {
namespace {

// How long another master is listened to once heard, to tell its pace.
constexpr std::uint32_t kCharacteriseMs = 1000;

}  // namespace

std::string DescribeOtherMaster(const OtherMaster& master)
{
    std::string text = master.requests == 1 ? "a request to " : "requests to ";
    std::size_t left = master.addresses.size();
    for (const std::uint32_t address : master.addresses) {
        text += std::to_string(address) + (--left == 0 ? "" : left == 1 ? " and " : ", ");
    }
    const double seconds = std::chrono::duration<double>(master.last - master.first).count();
    if (master.requests < 2 || seconds <= 0) {
        return text;
    }
    const double perSecond = static_cast<double>(master.requests - 1) / seconds;
    if (perSecond >= 1) {
        return text + ", about " + std::to_string(std::lround(perSecond)) + " a second";
    }
    return text + ", about one every " + std::to_string(std::lround(1 / perSecond)) + " s";
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
        std::fprintf(stderr, "another master used this bus (%s): sent all the same (--force)\n",
                     DescribeOtherMaster(*bus.OtherMasterHeard()).c_str());
        return status;
    }
    bus.Listen(kCharacteriseMs);
    bus.TakeOthers();
    std::fprintf(stderr, "another master is using this bus (%s): nothing more is sent\n",
                 DescribeOtherMaster(*bus.OtherMasterHeard()).c_str());
    return kOtherMaster;
}

}  // namespace tarnel::tool
