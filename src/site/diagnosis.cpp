#include "diagnosis.h"

#include "messages.h"
#include "other_master.h"

#include <algorithm>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

// Corrupt answers at one address this many times, where others answer
// cleanly: two controllers share it.
constexpr unsigned kCollisions = 3;

bool Clean(const AddressSeen& seen)
{
    return seen.valid > 0 && seen.corrupt == 0 && seen.shortAnswers == 0;
}

}  // namespace

Diagnosis Diagnose(const std::vector<SpeedSeen>& speeds, std::uint32_t timeoutMs)
{
    Diagnosis diagnosis;
    std::vector<Finding> masters, wiring, sharing, adapter, timing;
    bool anyAnswer = false;
    bool anyValid = false;
    for (const SpeedSeen& speed : speeds) {
        if (speed.otherMaster) {
            masters.push_back({"other-master", std::nullopt,
                               Format(Tr("another master uses the bus at %u baud (%s)"), speed.baud,
                                      DescribeOtherMaster(*speed.otherMaster).c_str()),
                               Tr("stop it while you work on the bus (--force sends all the same)")});
        }
        if (speed.noiseBytes > 0) {
            const auto framed = std::ranges::find_if(speeds, [](const SpeedSeen& s) { return s.framesHeard > 0; });
            wiring.push_back(
                framed != speeds.end() && framed->baud != speed.baud
                    ? Finding{"wrong-speed", std::nullopt,
                              Format(Tr("%zu bytes of noise at %u baud, but whole frames at %u baud"),
                                     speed.noiseBytes, speed.baud, framed->baud),
                              Format(Tr("the bus runs at %u baud: use -b %u"), framed->baud, framed->baud)}
                    : Finding{"noise", std::nullopt,
                              Format(Tr("%zu bytes on the idle line at %u baud that make no frame"), speed.noiseBytes,
                                     speed.baud),
                              Tr("missing termination or bias resistors, A and B swapped, or a device at another "
                                 "speed")});
        }
        if (speed.echoes > 0) {
            adapter.push_back({"echo", std::nullopt,
                               Format(Tr("the adapter sent %u requests back at %u baud"), speed.echoes, speed.baud),
                               Tr("switch the adapter's echo off (or use one that does not hear itself)")});
        }
        const bool someClean = std::ranges::any_of(speed.addresses, Clean);
        // On a noisy line garbled answers are the noise's doing.
        const bool quiet = speed.noiseBytes == 0;
        for (const AddressSeen& seen : speed.addresses) {
            anyAnswer = true;
            anyValid = anyValid || seen.valid > 0 || seen.late > 0;
            if (!seen.responseMs.empty()) {
                std::vector<std::uint32_t> times = seen.responseMs;
                std::ranges::sort(times);
                diagnosis.controllers.push_back(
                    {seen.address, speed.baud, times.front(), times[times.size() / 2], times.back()});
            }
            if (seen.corrupt >= kCollisions && someClean && quiet) {
                sharing.push_back({"two-controllers", seen.address,
                                   Format(Tr("address %u answers corrupt %u times of %u, its neighbours cleanly"),
                                          seen.address, seen.corrupt, seen.asked),
                                   Tr("two controllers share it: connect them one at a time and give one another "
                                      "address")});
            }
            if (seen.late > 0) {
                const std::uint32_t enough = (seen.latestMs * 3 / 2 + 9) / 10 * 10;
                timing.push_back({"late", seen.address,
                                  Format(Tr("address %u answers late, after up to %u ms (the time-out is %u ms)"),
                                         seen.address, seen.latestMs, timeoutMs),
                                  Format(Tr("use --timeout %u"), enough)});
            }
            if (seen.shortAnswers > 0 && quiet) {
                timing.push_back({"short", seen.address,
                                  Format(Tr("address %u answers short %u times of %u"), seen.address,
                                         seen.shortAnswers, seen.asked),
                                  Tr("a weak or long line, or a device cut off while answering: check the cable and "
                                     "its termination")});
            }
        }
    }
    if (anyAnswer && !anyValid) {
        wiring.insert(wiring.begin(), {"corrupt-everywhere", std::nullopt,
                                       Tr("every address that answers gives corrupt or short answers"),
                                       Tr("the wrong speed (try -b all) or wiring: A and B swapped, missing "
                                          "termination")});
    }
    diagnosis.nothingAnswers = !anyAnswer && masters.empty();
    if (diagnosis.nothingAnswers) {
        masters.push_back({"nothing-answers", std::nullopt, Tr("nothing answers"),
                           Tr("swap A and B; a 120 ohm resistor at each end of a long bus; try -b all; switch the "
                              "adapter's echo off; join the dialout group")});
    }
    for (auto* group : {&masters, &wiring, &sharing, &adapter, &timing}) {
        diagnosis.findings.insert(diagnosis.findings.end(), group->begin(), group->end());
    }
    return diagnosis;
}

}  // namespace tarnel::tool
