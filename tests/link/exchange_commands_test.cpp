// set-address and calibrate on scripted lines: their rules are the site's
// (a move, a calibration); here, what they say and the exit status.

#include "exchange_commands.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "scripted_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarnel::tool {
namespace {

using namespace std::chrono_literals;
using namespace test;
using ::testing::HasSubstr;
using Events = std::vector<ScriptedLine::Event>;

Bytes Corrupt(Bytes bytes)
{
    bytes.back() ^= 0xFF;
    return bytes;
}

const ScriptedLine::Event kAcknowledged{2, 20ms, link::Sealed({0x05, 0x06, 0x80, 0x01, 0x00, 0x09})};

TEST(MoveAddress, LooksAtNewFirstAndVerifiesAfter)
{
    const struct {
        const char* name;
        Events events;
        bool verify;
        int status;
        std::size_t requests;  // sent in all: the probe of 9, the change, the verifying probe
        const char* says;
    } cases[] = {
        {"taken", {{1, 12ms, ValueReply(9)}}, false, 1, 1, "address 9 is taken: valid reply after 3 ms"},
        {"taken, late", {{1, 300ms, ValueReply(9)}}, false, 1, 1, "address 9 is taken: late answer late, after"},
        {"free but for the echo", {{1, 9ms, AsBytes(link::ProbeFrame(9))}, kAcknowledged}, false, 0, 2,
         "set-address 5 -> 9: acknowledged after"},
        {"no acknowledgement", {}, false, 1, 2, "set-address 5 -> 9: no answer"},
        {"refused", {{2, 20ms, link::Sealed({0x05, 0x86, 0x02})}}, false, 4, 2, "refused with exception 2"},
        {"moved", {kAcknowledged, {3, 12ms, ValueReply(9)}}, true, 0, 3, "verify: moved, answers at 9 after"},
        {"silent at 9", {kAcknowledged}, true, 4, 3, "verify: acknowledged, but nothing answers at 9"},
        {"corrupt at 9", {kAcknowledged, {3, 12ms, Corrupt(ValueReply(9))}}, true, 5, 3, "verify: corrupt answer"},
        {"echo at 9", {kAcknowledged, {3, 9ms, AsBytes(link::ProbeFrame(9))}}, true, 6, 3, "verify: echo only"},
    };
    for (const auto& c : cases) {
        ScriptedLine line(c.events);
        site::Bus bus(line, 9600);
        std::string said;
        const int status = MoveAddress(bus, {.oldAddress = 5, .newAddress = 9, .verify = c.verify}, 50,
                                       [&said](const std::string& text) { said += text + "\n"; });
        EXPECT_EQ(status, c.status) << c.name << "\n" << said;
        EXPECT_THAT(said, HasSubstr(c.says)) << c.name;
        ASSERT_EQ(line.Writes().size(), c.requests) << c.name;
        if (c.requests > 1) {
            EXPECT_EQ(line.Writes()[1].bytes, AsBytes(link::SetAddressFrame(5, 9))) << c.name;
        }
    }
}

TEST(Calibrate, ZeroIsCalibratedAnyOtherValueADryRope)
{
    const struct { Events events; int status; const char* says; } cases[] = {
        {{{1, 12ms, ValueReply(17, 0)}}, 0, "calibrate 17: calibrated after 3 ms"},
        {{{1, 12ms, ValueReply(17, 0x0123)}}, 4, "calibrate 17: rope not in water: the controller read 291 (0x0123)"},
        {{}, 1, "calibrate 17: no answer"},
    };
    for (const auto& c : cases) {
        ScriptedLine line(c.events);
        site::Bus bus(line, 9600);
        std::string said;
        EXPECT_EQ(Calibrate(bus, 17, 50, [&said](const std::string& text) { said += text; }), c.status) << said;
        EXPECT_THAT(said, HasSubstr(c.says));
    }
}

}  // namespace
}  // namespace tarnel::tool
