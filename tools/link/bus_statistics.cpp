#include "bus_statistics.h"

#include "link/answer_frames.h"
#include "link/frame_shapes.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tarnel::tool {
namespace {

std::string Fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace

void BusStatistics::Add(const FrameJoiner::Frame& frame)
{
    const link::Micros end = frame.start + link::WireTime(frame.bytes.size(), baud_);
    if (lastEnd_ && frame.start - *lastEnd_ < link::FrameGap(baud_)) {
        ++shortGaps_;
    }
    lastEnd_ = end;
    ++frames_;
    PerAddress& address = perAddress_[frame.bytes[0]];
    ++address.frames;
    if (!frame.whole) {
        ++badChecks_;
        ++address.badChecks;
        return;
    }
    if (request_ && link::Answers(frame.bytes, std::array{request_->address, request_->function})) {
        address.responseMs.push_back(std::chrono::duration<double, std::milli>(frame.start - request_->end).count());
        request_.reset();
        return;
    }
    const auto lengths = link::RequestLengths(frame.bytes[1]);
    const bool requestShaped = std::ranges::find(lengths, frame.bytes.size()) != lengths.end();
    request_ = requestShaped ? std::optional<Request>({frame.bytes[0], frame.bytes[1], end}) : std::nullopt;
}

std::vector<std::string> BusStatistics::Summary(link::Micros elapsed) const
{
    const double seconds = std::max(std::chrono::duration<double>(elapsed).count(), 1e-3);
    std::vector<std::string> lines{std::to_string(frames_) + " frames in " + Fixed(seconds, 1) + " s, " +
                                   std::to_string(badChecks_) + " with a bad check, " + std::to_string(shortGaps_) +
                                   " gaps shorter than 3.5 characters"};
    for (const auto& [number, address] : perAddress_) {
        std::string line = "address " + std::to_string(number) + ": " + std::to_string(address.frames) + " frames (" +
                           Fixed(address.frames / seconds, 1) + " a second), " + std::to_string(address.badChecks) +
                           " with a bad check (" + std::to_string(100 * address.badChecks / address.frames) + "%)";
        if (!address.responseMs.empty()) {
            std::vector<double> times = address.responseMs;
            std::ranges::sort(times);
            line += ", answers in " + Fixed(times.front(), 0) + "/" + Fixed(times[times.size() / 2], 0) + "/" +
                    Fixed(times.back(), 0) + " ms (min/median/max of " + std::to_string(times.size()) + ")";
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace tarnel::tool
