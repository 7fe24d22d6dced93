// set-address, calibrate and the commissioning loop on scripted lines: what
// they send, what they make of every kind of answer, and what they tell the
// technician or write to the record.

#include "commission.h"
#include "exchange_commands.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "link/protocol.h"
#include "scripted_line.h"
#include "site_record.h"

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
        {"short", {12ms, Bytes(reply.begin(), reply.begin() + 4)}},
        {"exception", {12ms, link::Sealed({0x09, 0x84, 0x02})}},
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
        // Anything but an echo at 9 before the move: nothing more is sent.
        {"taken: valid", At9(1, "valid"), false, 1, 1, "address 9 is taken: valid reply"},
        {"taken: corrupt", At9(1, "corrupt"), false, 1, 1, "address 9 is taken: corrupt answer"},
        {"taken: short", At9(1, "short"), false, 1, 1, "address 9 is taken: short answer"},
        {"taken: exception", At9(1, "exception"), false, 1, 1, "address 9 is taken: valid reply"},
        {"taken: late", At9(1, "late"), false, 1, 1, "address 9 is taken: late answer"},
        {"free but for the echo", test::Joined(At9(1, "echo"), kAcknowledged), false, 0, 2, "set-address 5 -> 9: acknowledged"},
        {"no acknowledgement", {}, false, 1, 2, "set-address 5 -> 9: no answer"},
        {"refused", {{2, 20ms, link::Sealed({0x05, 0x86, 0x02})}}, false, 4, 2, "refused with exception 2"},
        // After the move only a valid reply from 9 counts.
        {"moved", test::Joined(kAcknowledged, At9(3, "valid")), true, 0, 3, "verify: moved, answers at 9 after"},
        {"moved, late", test::Joined(kAcknowledged, At9(3, "late")), true, 0, 3, "verify: moved, answers at 9 late, after"},
        {"silent at 9", kAcknowledged, true, 4, 3, "verify: acknowledged, but nothing answers at 9"},
        {"corrupt at 9", test::Joined(kAcknowledged, At9(3, "corrupt")), true, 5, 3, "verify: corrupt answer"},
        {"short at 9", test::Joined(kAcknowledged, At9(3, "short")), true, 5, 3, "verify: short answer"},
        {"exception at 9", test::Joined(kAcknowledged, At9(3, "exception")), true, 4, 3, "verify: refused with exception 2"},
        {"echo at 9", test::Joined(kAcknowledged, At9(3, "echo")), true, 6, 3, "verify: echo only"},
    };
    for (const MoveCase& c : cases) {
        ScriptedLine line(c.events);
        Bus bus(line, 9600);
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
        Bus bus(line, 9600);
        std::string said;
        EXPECT_EQ(Calibrate(bus, 17, 50, [&said](const std::string& text) { said += text; }), c.status) << said;
        EXPECT_THAT(said, HasSubstr(c.says));
    }
}

// The commissioning loop: one new controller at 1 given address 10, and
// every way that can go wrong, as the record names it.
class MemoryFile : public platform::AppendFile {
public:
    const std::string& Contents() const override { return text; }
    std::error_code Append(std::string_view more) override
    {
        text += more;
        return {};
    }
    std::string text;
};

// The requests, in order: 1 probes 10 (free), 2 probes 1 (the controller is
// there), 3 moves 1 to 10, 4 verifies at 10, 5 checks that 1 is silent.
const Bytes kAckOf1 = link::Sealed({1, link::kWriteRegister, 0x80, 0x01, 0x00, 10});
const ScriptedLine::Event kAtFactory{2, 5ms, ValueReply(1)};
const ScriptedLine::Event kMovedTo10{3, 5ms, kAckOf1};
const ScriptedLine::Event kAtNew{4, 6ms, ValueReply(10)};

TEST(CommissionLoop, MovesVerifiesAndRecordsOrNamesTheStepThatFailed)
{
    Bytes corrupt = ValueReply(10);
    corrupt.back() ^= 0xFF;
    const struct {
        const char* name;
        std::vector<ScriptedLine::Event> events;
        int status;
        const char* outcome;  // the row's, empty: no row
    } cases[] = {
        {"moved", {kAtFactory, kMovedTo10, kAtNew}, 0, "10,9600,1,moved,not asked,"},
        {"no acknowledgement", {kAtFactory}, 4, "10,9600,1,set-address: no answer,not asked,"},
        {"refused", {kAtFactory, {3, 5ms, link::Sealed({1, 0x86, 0x02})}}, 4,
         "10,9600,1,set-address: refused (exception 2),not asked,"},
        {"silent at 10", {kAtFactory, kMovedTo10}, 4, "10,9600,1,verify: no answer,not asked,"},
        {"corrupt at 10", {kAtFactory, kMovedTo10, {4, 6ms, corrupt}}, 4,
         "10,9600,1,verify: corrupt answer,not asked,"},
        {"another at 1", {kAtFactory, kMovedTo10, kAtNew, {5, 5ms, ValueReply(1)}}, 4,
         "10,9600,1,another controller still at 1,not asked,"},
        {"Ctrl-C while waiting", {}, 130, ""},
        {"another master", {{1, 5ms, AsBytes(link::ProbeFrame(30))}}, 7, ""},
    };
    for (const auto& c : cases) {
        ScriptedLine line(c.events);
        line.StopAt(30s);
        Bus bus(line, 9600);
        MemoryFile record;
        const int status = Commission(bus, {.exchange = {{}, 3, 50}, .first = 10, .count = 1}, record, "r", {});
        const auto rows = std::get<std::vector<RecordRow>>(ReadRecord(std::string(kRecordHeader) + "\n" + record.text));
        EXPECT_EQ(status, c.status) << c.name;
        ASSERT_EQ(rows.size(), *c.outcome ? 1u : 0u) << c.name;
        if (rows.empty()) {
            continue;
        }
        const std::string line0 = RecordLine(rows[0]);
        EXPECT_EQ(line0.substr(line0.find(',') + 1, std::string_view(c.outcome).size()), c.outcome) << c.name;
        EXPECT_EQ(line.Writes().at(2).bytes, AsBytes(link::SetAddressFrame(1, 10))) << c.name;
    }
}

}  // namespace
}  // namespace tarnel::tool
