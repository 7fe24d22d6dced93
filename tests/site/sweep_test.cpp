// The doctor's sweep on scripted buses, to the diagnosis: which addresses it
// names and what it finds, wherever slow, garbled and colliding controllers
// sit in the range.

#include "link/frame_shapes.h"
#include "case_name.h"
#include "link/frames.h"
#include "scripted_line.h"
#include "controller_bus.h"
#include "site/bus_sweep.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace tarnel::site {
namespace {

using namespace std::chrono_literals;
using namespace test;

struct SweepCase {
    const char* name;
    std::vector<sim::Controller> controllers;  // as the simulator has them
    std::string expected;  // the end, the controllers named, the findings
    std::uint32_t from = 0, to = 7;
    std::vector<ScriptedLine::Event> listening{};  // heard while listening first, 400 ms
    bool echo = false;
    unsigned loseAfter = 0;
    std::vector<int> bauds{3};
};

const std::vector<ScriptedLine::Event> kStrayReply{{0, 100ms, test::ValueReply(9)}};

// The lines at each speed; the controllers answer at 9600 baud only.
struct Lines : SweepLines {
    explicit Lines(const SweepCase& c)
    {
        for (const int baud : c.bauds) {
            // At 19200 baud a stray reply is all there is.
            lines_.try_emplace(baud, baud == 3 ? c.listening : kStrayReply,
                               baud == 3 ? Responder(c) : ScriptedLine::Responder{});
            lines_.at(baud).LoseAfterRequest(c.loseAfter);
        }
    }

    link::Line* AtSpeed(int baudIndex) override { return &lines_.at(baudIndex); }
    std::size_t Requests() const { return lines_.begin()->second.Writes().size(); }

    static ScriptedLine::Responder Responder(const SweepCase& c)
    {
        return [bus = std::make_shared<sim::ControllerBus>(c.controllers), echo = c.echo](const Bytes& request,
                                                                                           unsigned) {
            std::vector<ScriptedLine::Reply> replies;
            if (echo) {
                replies.push_back({9ms, request});
            }
            std::string note;
            if (const auto reply = bus->Handle(request, 9600, note)) {
                replies.push_back({12ms + std::chrono::milliseconds(reply->delayMs), reply->bytes});
            }
            return replies;
        };
    }

    std::map<int, ScriptedLine> lines_;
};

std::string Words(const Finding& f)
{
    static const char* const kNames[] = {"other-master", "nothing-answers", "corrupt-everywhere",
                                         "wrong-speed",  "noise",           "two-controllers",
                                         "echo",         "late",            "short"};
    std::string text = kNames[static_cast<int>(f.kind)];
    if (f.address) {
        text += "@" + std::to_string(*f.address);
    }
    switch (f.kind) {
    case Finding::Kind::TwoControllers: return text + (f.neighboursClean ? " beside clean ones" : " alone");
    case Finding::Kind::Late: return text + " " + std::to_string(f.latestMs) + " ms";
    case Finding::Kind::Short: return text + " " + std::to_string(f.count) + "/" + std::to_string(f.of);
    case Finding::Kind::Echo: return text + " " + std::to_string(f.count);
    case Finding::Kind::WrongSpeed: return text + " " + std::to_string(f.baud) + " not " + std::to_string(f.otherBaud);
    default: return text;
    }
}

struct SweepLog : SweepView {
    void Listening(std::uint32_t, std::uint32_t) override {}
    void Probing(std::uint32_t, std::uint32_t, std::uint32_t) override {}
    void Probed(std::uint32_t, std::uint32_t, unsigned, unsigned) override {}
    void Ended(const SweepEnd& end) override
    {
        static const char* const kReasons[] = {"complete", "stopped", "lost", "cannot open", "other master"};
        seen = kReasons[static_cast<int>(end.reason)];
        if (!end.diagnosis) {
            return;
        }
        seen += ":";
        for (const Controller& c : end.diagnosis->controllers) {
            seen += " " + std::to_string(c.address);
        }
        seen += " |";
        for (const Finding& finding : end.diagnosis->findings) {
            seen += " " + Words(finding) + ";";
        }
    }
    std::string seen;
};

using sim::Fault;
const sim::Controller kSlow{.address = 5, .delayMs = 108};

const SweepCase kSweepCases[] = {
    {"healthy", {{.address = 5}, {.address = 6}, {.address = 7}}, "complete: 5 6 7 |"},
    {"nothing", {}, "complete: | nothing-answers;"},
    // Colliding answers: two controllers, also when no neighbour answers cleanly.
    {"two beside a clean one", {{.address = 5}, {.address = 5}, {.address = 6}}, "complete: 6 | two-controllers@5 beside clean ones;"},
    {"two alone", {{.address = 1}, {.address = 1}}, "complete: | two-controllers@1 alone;"},
    {"two alone at the last", {{.address = 7}, {.address = 7}}, "complete: | two-controllers@7 alone;"},
    // Answers in their own shape with a bad check: the line, not a second controller.
    {"bad checks everywhere", {{.address = 5, .fault = Fault::BadCheck}, {.address = 6, .fault = Fault::BadCheck}}, "complete: | corrupt-everywhere;"},
    {"short", {{.address = 5, .fault = Fault::ShortReply}, {.address = 6}}, "complete: 6 | short@5 5/5;"},
    {"echo", {{.address = 5}}, "complete: 5 | echo 12;", 0, 7, {}, true},
    // A slow controller at every place of the range.
    {"slow in the middle", {kSlow, {.address = 6}}, "complete: 6 | late@5 111 ms;"},
    {"slow first", {kSlow}, "complete: | late@5 111 ms;", 5, 8},
    {"slow last", {kSlow}, "complete: | late@5 111 ms;", 2, 5},
    {"slow alone in the range", {kSlow}, "complete: | late@5 111 ms;", 5, 5},
    // A slow and garbled answer lands in the next address's wait: it is the slow one's.
    {"slow and short", {{.address = 18, .delayMs = 108, .fault = Fault::ShortReply}}, "complete: | corrupt-everywhere; late@18 111 ms; short@18 5/5;", 16, 21},
    {"slow and short, last", {{.address = 21, .delayMs = 108, .fault = Fault::ShortReply}}, "complete: | corrupt-everywhere; late@21 111 ms; short@21 5/5;", 16, 21},
    {"slow and colliding", {{.address = 18, .delayMs = 108}, {.address = 18, .delayMs = 108}}, "complete: | two-controllers@18 alone; late@18 111 ms;", 16, 21},
    // What is heard before the first request.
    {"another master", {{.address = 5}}, "other master: | other-master;", 0, 7, {{0, 100ms, AsBytes(link::ProbeFrame(30))}}},
    {"a master's frame cut at the end of listening", {{.address = 5}}, "other master: | other-master;", 0, 7,
     {{0, 395ms, Bytes{0x1E, 0x04, 0x40, 0x02}}, {0, 407ms, Bytes{0x00, 0x01, 0x87, 0xA5}}}},
    {"a master's frame begun as listening ends", {{.address = 5}}, "other master: | other-master;", 0, 7,
     {{0, 400ms, Bytes{0x1E, 0x04, 0x40, 0x02}}, {0, 412ms, Bytes{0x00, 0x01, 0x87, 0xA5}}}},
    {"noise", {{.address = 5}}, "complete: 5 | noise;", 0, 7, {{0, 100ms, Bytes{0x13, 0x37}}}},
    {"wrong speed", {}, "complete: | nothing-answers; wrong-speed 9600 not 19200;", 0, 3, {{0, 100ms, Bytes{0x13, 0x37}}}, false, 0, {3, 4}},
    // A sweep cut short says nothing of the bus.
    {"adapter lost", {{.address = 5}}, "lost", 0, 7, {}, false, 4},
};

TABLE_TEST(SweepTest, NamesOnlyAddressesThatReallyAnsweredAndFindsWhatIsWrong, SweepCase, kSweepCases)
{
    const SweepCase& c = GetParam();
    Lines lines(c);
    SweepLog log;
    BusSweep sweep({c.bauds, c.from, c.to, 50, 400, false}, lines, log, Bus::kUnwatched);
    for (int ticks = 0; !sweep.Finished() && ticks < 100000; ++ticks) {
        sweep.Tick();
    }
    EXPECT_EQ(log.seen, c.expected);
    if (c.expected.starts_with("other master")) {
        EXPECT_EQ(lines.Requests(), 0u) << "sent over another master";
    }
}

}  // namespace
}  // namespace tarnel::site
