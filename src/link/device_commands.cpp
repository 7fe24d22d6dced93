#include "link/device_commands.h"

#include "link/frames.h"

#include <vector>

namespace tarnel::link {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kCommandTimeoutMs = 500;

// Between two looks at what has come: an answer is noticed 2 to 4 ms after
// it arrives, and a silent wait costs next to nothing.
constexpr auto kPollPause = 2ms;

// What came within `timeoutMs` of the request leaving, up to the first look
// that finds kAnswerLength bytes or more.
std::vector<std::uint8_t> Exchange(Line& line, std::span<const std::uint8_t> request, std::uint32_t timeoutMs)
{
    line.Purge();
    line.Write(request);
    const TimePoint deadline = line.Now() + std::chrono::milliseconds(timeoutMs);
    std::vector<std::uint8_t> answer;
    for (;;) {
        while (const auto heard = line.Take()) {
            answer.insert(answer.end(), heard->bytes.begin(), heard->bytes.end());
        }
        line.Wait(kPollPause);
        if (answer.size() >= kAnswerLength || line.Now() > deadline) {
            return answer;
        }
    }
}

}  // namespace

bool ProbeAddress(Line& line, unsigned address, std::uint32_t timeoutMs)
{
    return Exchange(line, ProbeFrame(address), timeoutMs).size() >= kAnswerLength;
}

bool SetDeviceAddress(Line& line, unsigned oldAddress, unsigned newAddress)
{
    return Exchange(line, SetAddressFrame(oldAddress, newAddress), kCommandTimeoutMs).size() >= kAnswerLength;
}

bool ZeroCalibrate(Line& line, unsigned address)
{
    const std::vector<std::uint8_t> answer = Exchange(line, ZeroCalibrationFrame(address), kCommandTimeoutMs);
    // Address, function, byte count, then the value: it must be 0.
    return answer.size() >= kAnswerLength && answer[3] == 0x00 && answer[4] == 0x00;
}

}  // namespace tarnel::link
