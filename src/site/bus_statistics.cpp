#include "site/bus_statistics.h"

#include "link/answer_frames.h"
#include "link/frame_shapes.h"

#include <algorithm>
#include <array>

namespace tarnel::site {

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
    request_ = link::RequestShaped(frame.bytes) ? std::optional<Request>({frame.bytes[0], frame.bytes[1], end})
                                                : std::nullopt;
}

BusSummary BusStatistics::Summary(link::Micros elapsed) const
{
    BusSummary summary{std::max(std::chrono::duration<double>(elapsed).count(), 1e-3), frames_, badChecks_,
                       shortGaps_, {}};
    for (const auto& [number, address] : perAddress_) {
        summary.addresses.push_back({number, address.frames, address.badChecks, std::nullopt});
        if (!address.responseMs.empty()) {
            summary.addresses.back().responseMs = SpreadOf(address.responseMs);
        }
    }
    return summary;
}

}  // namespace tarnel::site
