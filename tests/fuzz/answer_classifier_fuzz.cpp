// The exchange on a line whose bytes and timing come from the input.
// Every byte heard is named once; a frame named a reply or a late answer has
// a good check and answers a request that went out; an echo is a request
// that went out; another master's request has a request's shape and is
// none that went out.

#include "site/bus.h"
#include "link/answer_frames.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "require.h"
#include "scripted_line.h"

#include <algorithm>

namespace {

using namespace tarnel;
using namespace std::chrono_literals;

class Accountant : public site::BusWatcher {
public:
    void Sent(link::TimePoint, std::span<const std::uint8_t> frame) const override
    {
        sent.emplace_back(frame.begin(), frame.end());
    }

    void Heard(link::TimePoint, std::span<const std::uint8_t> frame, site::Heard kind) const override
    {
        Require(!frame.empty());
        named += frame.size();
        const auto answers = [frame](const test::Bytes& request) { return link::Answers(frame, request); };
        const auto same = [frame](const test::Bytes& request) { return std::ranges::equal(frame, request); };
        switch (kind) {
        case site::Heard::Reply:
            Require(link::HasValidCheck(frame) && answers(sent.back()));
            break;
        case site::Heard::Late:
            Require(link::HasValidCheck(frame) && std::ranges::any_of(sent, answers));
            break;
        case site::Heard::Echo: Require(std::ranges::any_of(sent, same)); break;
        case site::Heard::Request:
            Require(link::HasValidCheck(frame) && link::RequestShaped(frame) && std::ranges::none_of(sent, same));
            break;
        default: break;
        }
    }

    mutable std::vector<test::Bytes> sent;
    mutable std::size_t named = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    constexpr std::uint32_t kBauds[] = {1200, 9600, 19200, 57600};
    const std::uint32_t baud = kBauds[data[0] % 4];
    const unsigned probes = data[1] % 6 + 1;
    // Then events: which request they follow, when (ms), how many bytes, the bytes.
    std::vector<test::ScriptedLine::Event> events;
    std::size_t delivered = 0;
    for (std::size_t at = 2; at + 3 <= size;) {
        const unsigned request = data[at] % (probes + 1);
        const auto when = std::chrono::milliseconds(data[at + 1] % 64);
        const std::size_t count = std::min<std::size_t>(data[at + 2] % 24 + 1, size - at - 3);
        events.push_back({request, when, test::Bytes(data + at + 3, data + at + 3 + count)});
        delivered += count;
        at += 3 + count;
    }
    test::ScriptedLine line(events);
    const Accountant accountant;
    site::Bus bus(line, baud, accountant);
    // Every request goes out, so that every event comes.
    bus.AllowOtherMasters();
    for (unsigned address = 1; address <= probes; ++address) {
        bus.Ask(link::ProbeFrame(address), 20);
    }
    // Long enough for the last event: 63 ms after the last request.
    bus.Listen(70);
    Require(accountant.named == delivered);
    return 0;
}
