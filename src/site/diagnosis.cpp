#include "site/diagnosis.h"

#include "site/spread.h"

#include <algorithm>

namespace tarnel::site {
namespace {

// Corrupt answers at one address this many times: two controllers share it,
// when its neighbours answer cleanly or the answers are garbled beyond its
// own address, as two answers at once are.
constexpr unsigned kCollisions = 3;

bool Clean(const AddressSeen& seen)
{
    return seen.valid > 0 && seen.Garbled() == 0;
}

// The findings, by how serious they are.
struct Groups {
    std::vector<Finding> masters, wiring, sharing, adapter, timing;
};

void LineFindings(const SpeedSeen& speed, const std::vector<SpeedSeen>& speeds, Groups& groups)
{
    if (speed.otherMaster) {
        groups.masters.push_back({.kind = Finding::Kind::OtherMaster, .baud = speed.baud, .master = speed.otherMaster});
    }
    if (speed.noiseBytes > 0) {
        const auto framed = std::ranges::find_if(speeds, [](const SpeedSeen& s) { return s.framesHeard > 0; });
        const bool elsewhere = framed != speeds.end() && framed->baud != speed.baud;
        groups.wiring.push_back({.kind = elsewhere ? Finding::Kind::WrongSpeed : Finding::Kind::Noise,
                                 .baud = speed.baud,
                                 .otherBaud = elsewhere ? framed->baud : 0,
                                 .count = speed.noiseBytes});
    }
    if (speed.echoes > 0) {
        groups.adapter.push_back({.kind = Finding::Kind::Echo, .baud = speed.baud, .count = speed.echoes});
    }
}

void AddressFindings(const AddressSeen& seen, const SpeedSeen& speed, std::uint32_t timeoutMs, Groups& groups)
{
    const bool someClean = std::ranges::any_of(speed.addresses, Clean);
    // On a noisy line garbled answers are the noise's doing.
    const bool quiet = speed.noiseBytes == 0;
    if (seen.corrupt >= kCollisions && quiet && (someClean || seen.collided >= kCollisions)) {
        groups.sharing.push_back({.kind = Finding::Kind::TwoControllers,
                                  .address = seen.address,
                                  .baud = speed.baud,
                                  .count = seen.corrupt,
                                  .of = seen.asked,
                                  .neighboursClean = someClean});
    }
    if (seen.latestMs > 0) {
        groups.timing.push_back({.kind = Finding::Kind::Late,
                                 .address = seen.address,
                                 .baud = speed.baud,
                                 .latestMs = seen.latestMs,
                                 .timeoutMs = timeoutMs,
                                 .suggestedMs = (seen.latestMs * 3 / 2 + 9) / 10 * 10});
    }
    if (seen.shortAnswers > 0 && quiet) {
        groups.timing.push_back({.kind = Finding::Kind::Short,
                                 .address = seen.address,
                                 .baud = speed.baud,
                                 .count = seen.shortAnswers,
                                 .of = seen.asked});
    }
}

}  // namespace

Diagnosis Diagnose(const std::vector<SpeedSeen>& speeds, std::uint32_t timeoutMs)
{
    Diagnosis diagnosis;
    Groups groups;
    bool anyAnswer = false;
    bool anyValid = false;
    for (const SpeedSeen& speed : speeds) {
        LineFindings(speed, speeds, groups);
        for (const AddressSeen& seen : speed.addresses) {
            anyAnswer = true;
            anyValid = anyValid || seen.valid > 0 || seen.late > 0;
            if (!seen.responseMs.empty()) {
                const Spread<std::uint32_t> times = SpreadOf(seen.responseMs);
                diagnosis.controllers.push_back({seen.address, speed.baud, times.min, times.median, times.max});
            }
            AddressFindings(seen, speed, timeoutMs, groups);
        }
    }
    if (anyAnswer && !anyValid && groups.sharing.empty()) {
        groups.wiring.insert(groups.wiring.begin(), {.kind = Finding::Kind::CorruptEverywhere});
    }
    diagnosis.nothingAnswers = !anyAnswer && groups.masters.empty();
    if (diagnosis.nothingAnswers) {
        groups.masters.push_back({.kind = Finding::Kind::NothingAnswers});
    }
    for (auto* group : {&groups.masters, &groups.wiring, &groups.sharing, &groups.adapter, &groups.timing}) {
        diagnosis.findings.insert(diagnosis.findings.end(), group->begin(), group->end());
    }
    return diagnosis;
}

}  // namespace tarnel::site
