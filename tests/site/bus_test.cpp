// The exchange's rules on scripted lines: what each frame heard is named,
// and when requests go out and waits end.

#include "case_name.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "scripted_line.h"
#include "site/bus.h"

#include <gtest/gtest.h>


namespace tarnel::site {
namespace {

using namespace std::chrono_literals;
using namespace test;
using Strings = std::vector<std::string>;

std::string Said(const HeardFrame& frame)
{
    static const char* const kNames[] = {"valid reply", "late answer",  "stray answer", "echo",
                                         "corrupt answer", "short answer", "master's request"};
    std::string text = std::string(kNames[static_cast<int>(frame.kind)]) + " from " + std::to_string(frame.address);
    return frame.kind == Heard::Reply ? text + " after " + std::to_string(frame.afterMs) + " ms" : text;
}

struct BusCase {
    const char* name;
    std::uint32_t baud;
    unsigned probes;  // addresses 1, 2, ... each probed in turn, 50 ms time-out
    std::vector<ScriptedLine::Event> events;
    Strings heard;  // "N: ..." for probe N, "end: ..." for the listening after the last
};

const Bytes kReply1 = ValueReply(1);

const BusCase kBusCases[] = {
    // At 9600 baud a probe takes 8.3 ms on the wire.
    {"reply", 9600, 1, {{1, 12ms, kReply1}}, {"1: valid reply from 1 after 3 ms"}},
    {"reply at the end of the time-out", 9600, 1, {{1, 58ms, kReply1}}, {"1: valid reply from 1 after 49 ms"}},
    {"reply after the time-out is late", 9600, 1, {{1, 60ms, kReply1}}, {"end: late answer from 1"}},
    {"reply in two bursts 16 ms apart", 9600, 1, {{1, 12ms, Part(kReply1, 0, 3)}, {1, 28ms, Part(kReply1, 3, 7)}},
     {"1: valid reply from 1 after 3 ms"}},
    // At 1200 baud it takes 66.7 ms, and the adapter hands bytes over every 16 ms.
    {"1200 baud, byte by byte", 1200, 1,
     {{1, 75ms, Part(kReply1, 0, 2)}, {1, 91ms, Part(kReply1, 2, 4)}, {1, 107ms, Part(kReply1, 4, 6)},
      {1, 123ms, Part(kReply1, 6, 7)}},
     {"1: valid reply from 1 after 8 ms"}},
    {"1200 baud, end of the time-out", 1200, 1, {{1, 116ms, kReply1}}, {"1: valid reply from 1 after 49 ms"}},
    {"1200 baud, late", 1200, 1, {{1, 118ms, kReply1}}, {"end: late answer from 1"}},
    {"late, heard while the next waits", 9600, 2, {{2, 10ms, kReply1}}, {"2: late answer from 1"}},
    {"late, sixteen requests back", 9600, 17, {{17, 10ms, kReply1}}, {"17: late answer from 1"}},
    {"seventeen requests back is stray", 9600, 18, {{18, 10ms, kReply1}}, {"18: stray answer from 1"}},
    {"stray", 9600, 1, {{1, 12ms, ValueReply(9)}}, {"1: stray answer from 9"}},
    {"echo", 9600, 1, {{1, 9ms, AsBytes(link::ProbeFrame(1))}}, {"1: echo"}},
    {"echo and reply in one read", 9600, 1, {{1, 20ms, test::Joined(AsBytes(link::ProbeFrame(1)), kReply1)}},
     {"1: echo", "1: valid reply from 1 after 11 ms"}},
    {"corrupt", 9600, 1, {{1, 12ms, test::Joined(Part(kReply1, 0, 6), {0x00})}}, {"1: corrupt answer from 1"}},
    {"bytes that start no reply", 9600, 1, {{1, 12ms, {0x01, 0x33, 0x02}}}, {"1: corrupt answer from 1"}},
    {"short", 9600, 1, {{1, 12ms, Part(kReply1, 0, 5)}}, {"1: short answer from 1"}},
    {"exception", 9600, 1, {{1, 12ms, link::Sealed({0x01, 0x84, 0x02})}}, {"1: valid reply from 1 after 3 ms"}},
    {"noise before the first request", 9600, 1, {{0, 2ms, {0x55, 0x55}}}, {"1: short answer from 0"}},
    // Another master's request is not talked over; bytes in its shape with a bad check are noise.
    {"another master", 9600, 1, {{0, 2ms, AsBytes(link::ProbeFrame(30))}}, {"1: master's request from 30"}},
    {"a request's shape, a bad check", 9600, 1, {{0, 2ms, test::Joined(Part(AsBytes(link::ProbeFrame(30)), 0, 7), {0})}},
     {"1: short answer from 0"}},
    {"a master's request in two bursts", 9600, 1,
     {{0, 2ms, Part(AsBytes(link::ProbeFrame(30)), 0, 4)}, {0, 14ms, Part(AsBytes(link::ProbeFrame(30)), 4, 8)}},
     {"1: master's request from 30"}},
};

TABLE_TEST(BusTest, NamesWhatItHears, BusCase, kBusCases)
{
    const BusCase& c = GetParam();
    ScriptedLine line(c.events);
    Bus bus(line, c.baud);
    Strings heard;
    const auto others = [&](const std::string& when) {
        for (const HeardFrame& frame : bus.TakeOthers()) {
            heard.push_back(when + Said(frame));
        }
    };
    for (unsigned address = 1; address <= c.probes; ++address) {
        const std::string when = std::to_string(address) + ": ";
        others(when);
        const Answer answer = bus.Ask(link::ProbeFrame(address), 50);
        if (answer.echoed) {
            heard.push_back(when + "echo");
        }
        if (answer.frame) {
            heard.push_back(when + Said(*answer.frame));
        }
        others(when);
    }
    bus.Listen(100);
    others("end: ");
    EXPECT_EQ(heard, c.heard);
    EXPECT_EQ(line.Writes().size(), bus.OtherMasterHeard() ? 0 : c.probes) << "every probe goes out once, unless to another master";
}

// Each request waits for 3.5 characters of silence after the last traffic,
// a fixed 1.75 ms above 19200 baud; a wait for an answer ends at once when
// asked to stop.
TEST(Bus, KeepsTheSilenceBeforeEachRequestAndStopsAtOnce)
{
    for (const std::uint32_t baud : {1200u, 9600u, 19200u, 57600u}) {
        ScriptedLine line({{1, 80ms, kReply1}, {2, 200ms, kReply1}});
        Bus bus(line, baud);
        bus.Ask(link::ProbeFrame(1), 500);
        line.StopAt(line.Elapsed() + 100ms);
        bus.Ask(link::ProbeFrame(1), 500);
        const auto gap = line.Writes()[1].at - (line.Writes()[0].at + 80ms);
        EXPECT_GE(gap, link::FrameGap(baud)) << baud;
        EXPECT_LT(gap, link::FrameGap(baud) + 2ms) << baud;
        EXPECT_LE(line.Elapsed(), line.Writes()[1].at + 100ms + 1ms) << baud << ": the stop ends the wait";
    }
}

}  // namespace
}  // namespace tarnel::site
