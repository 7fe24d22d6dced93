// set-address and calibrate on scripted lines: what they send, what they
// make of every kind of answer, and what they tell the technician.

#include "exchange_commands.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "scripted_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace tarnel::tool {
namespace {

using namespace std::chrono_literals;
using test::AsBytes;
using test::Bytes;
using test::ScriptedLine;
using test::ValueReply;
using ::testing::HasSubstr;

// What each kind of answer from address 9 looks like, and when it comes
// after the request.
std::vector<ScriptedLine::Event> At9(unsigned request, const std::string& kind)
{
    const Bytes reply = ValueReply(9);
    Bytes corrupt = reply;
    corrupt.back() ^= 0xFF;
    const std::map<std::string, std::pair<link::Micros, Bytes>> kinds{
        {"valid", {12ms, reply}},
        {"corrupt", {12ms, corrupt}},
        {"echo", {9ms, AsBytes(link::ProbeFrame(9))}},
        {"late", {300ms, reply}},
    };
    const auto& [at, bytes] = kinds.at(kind);
    return {{request, at, bytes}};
}

const std::vector<ScriptedLine::Event> kAcknowledged{{2, 20ms, link::Sealed({0x05, 0x06, 0x80, 0x01, 0x00, 0x09})}};

struct MoveCase {
    const char* name;
    std::vector<ScriptedLine::Event> events;
    bool verify;
    int status;
    std::size_t requests;  // sent in all
    const char* says;
};

TEST(MoveAddress, LooksAtNewFirstAndVerifiesAfter)
{
    const MoveCase cases[] = {
        // Anything but an echo at 9 before the move (the site's table has each): nothing more is sent.
        {"taken", At9(1, "valid"), false, 1, 1, "address 9 is taken: valid reply"},
        {"taken: late", At9(1, "late"), false, 1, 1, "address 9 is taken: late answer"},
        {"free but for the echo", test::Joined(At9(1, "echo"), kAcknowledged), false, 0, 2, "set-address 5 -> 9: acknowledged"},
        {"no acknowledgement", {}, false, 1, 2, "set-address 5 -> 9: no answer"},
        {"refused", {{2, 20ms, link::Sealed({0x05, 0x86, 0x02})}}, false, 4, 2, "refused with exception 2"},
        // After the move only a valid reply from 9 counts.
        {"moved", test::Joined(kAcknowledged, At9(3, "valid")), true, 0, 3, "verify: moved, answers at 9 after"},
        {"moved, late", test::Joined(kAcknowledged, At9(3, "late")), true, 0, 3, "verify: moved, answers at 9 late, after"},
        {"silent at 9", kAcknowledged, true, 4, 3, "verify: acknowledged, but nothing answers at 9"},
        {"corrupt at 9", test::Joined(kAcknowledged, At9(3, "corrupt")), true, 5, 3, "verify: corrupt answer"},
        {"echo at 9", test::Joined(kAcknowledged, At9(3, "echo")), true, 6, 3, "verify: echo only"},
    };
    for (const MoveCase& c : cases) {
        ScriptedLine line(c.events);
        site::Bus bus(line, 9600);
        std::string said;
        const int status = MoveAddress(bus, {.oldAddress = 5, .newAddress = 9, .verify = c.verify}, 50,
                                       [&said](const std::string& text) { said += text + "\n"; });
        EXPECT_EQ(status, c.status) << c.name << "\n" << said;
        EXPECT_THAT(said, HasSubstr(c.says)) << c.name;
        ASSERT_EQ(line.Writes().size(), c.requests) << c.name;
        EXPECT_EQ(line.Writes()[0].bytes, AsBytes(link::ProbeFrame(9))) << c.name;
        if (c.requests > 1) {
            EXPECT_EQ(line.Writes()[1].bytes, AsBytes(link::SetAddressFrame(5, 9))) << c.name;
        }
    }
}

TEST(Calibrate, ZeroIsCalibratedAnyOtherValueADryRope)
{
    const struct {
        std::vector<ScriptedLine::Event> events;
        int status;
        const char* says;
    } cases[] = {
        {{{1, 12ms, ValueReply(17, 0)}}, 0, "calibrate 17: calibrated after 3 ms"},
        {{{1, 12ms, ValueReply(17, 0x0123)}}, 4, "calibrate 17: rope not in water: the controller read 291 (0x0123)"},
        {{{1, 12ms, link::Sealed({0x11, 0x84, 0x02})}}, 4, "calibrate 17: refused with exception 2"},
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
