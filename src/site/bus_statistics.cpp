#include "bus_statistics.h"

#include "link/answer_frames.h"
#include "link/frame_shapes.h"
#include "messages.h"

#include <algorithm>
#include <array>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;
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
    const auto count = [](auto value) { return static_cast<unsigned long>(value); };
    std::vector<std::string> lines{Format(Tr("%lu frames in %.1f s, %lu with a bad check, %lu gaps shorter than 3.5 "
                                             "characters"),
                                          count(frames_), seconds, count(badChecks_), count(shortGaps_))};
    for (const auto& [number, address] : perAddress_) {
        std::string line = Format(Tr("address %u: %lu frames (%.1f a second), %lu with a bad check (%lu%%)"),
                                  static_cast<unsigned>(number), count(address.frames), address.frames / seconds,
                                  count(address.badChecks), count(100 * address.badChecks / address.frames));
        if (!address.responseMs.empty()) {
            std::vector<double> times = address.responseMs;
            std::ranges::sort(times);
            line += Format(Tr(", answers in %.0f/%.0f/%.0f ms (min/median/max of %lu)"), times.front(),
                           times[times.size() / 2], times.back(), count(times.size()));
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace tarnel::tool
