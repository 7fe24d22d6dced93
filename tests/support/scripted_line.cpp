#include "scripted_line.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"

#include <algorithm>

namespace tarnel::test {

void ScriptedLine::Schedule(unsigned request)
{
    for (const Event& event : script_) {
        if (event.request == request && !event.bytes.empty()) {
            due_.push_back({now_ + event.at, event.bytes});
        }
    }
    std::ranges::stable_sort(due_, {}, &Timed::at);
}

void ScriptedLine::Write(std::span<const std::uint8_t> bytes)
{
    if (Lost()) {
        return;
    }
    writes_.push_back({now_, {bytes.begin(), bytes.end()}});
    const auto number = static_cast<unsigned>(writes_.size());
    if (responder_) {
        for (Reply& reply : responder_(writes_.back().bytes, number)) {
            if (!reply.bytes.empty()) {
                due_.push_back({now_ + reply.at, std::move(reply.bytes)});
            }
        }
    }
    Schedule(number);
    if (loseAfter_ == number) {
        lostAt_ = now_;
    }
}

void ScriptedLine::Purge()
{
    std::erase_if(due_, [this](const Timed& due) { return due.at <= now_; });
}

std::optional<link::HeardBytes> ScriptedLine::Take()
{
    if (due_.empty() || due_.front().at > now_ || Lost()) {
        return std::nullopt;
    }
    link::HeardBytes heard{link::TimePoint(due_.front().at), std::move(due_.front().bytes)};
    due_.erase(due_.begin());
    return heard;
}

std::error_code ScriptedLine::Lost() const
{
    return lostAt_ && now_ >= *lostAt_ ? std::make_error_code(std::errc::io_error) : std::error_code{};
}

Bytes ValueReply(std::uint8_t address, std::uint16_t value)
{
    return link::Sealed({address, link::kReadInputRegisters, 2, static_cast<std::uint8_t>(value >> 8),
                         static_cast<std::uint8_t>(value & 0xFF)});
}

}  // namespace tarnel::test
