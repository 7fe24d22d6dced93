// The link tool's command line, and set-address and calibrate on scripted
// lines: their rules are the site's (a move, a calibration); here, what they
// say and the exit status.

#include "command_line.h"
#include "exchange_commands.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "scripted_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tarnel::tool {
namespace {

using namespace std::chrono_literals;
using namespace test;
using ::testing::HasSubstr;
using Events = std::vector<ScriptedLine::Event>;
using Strings = std::vector<std::string>;

std::variant<Command, int> Parse(const Strings& args, std::string* out = nullptr)
{
    std::ostringstream outText, errText;
    auto parsed = ParseCommandLine(args, outText, errText);
    if (out) {
        *out = outText.str();
    }
    return parsed;
}

TEST(CommandLine, RefusesAHostileValueOfEveryNumberAndName)
{
    // Each command line with one value left out, given in its place.
    const std::vector<Strings> commands{
        {"scan", "-p", ""}, {"scan", "-p", "1", "--from", ""}, {"scan", "-p", "1", "--to", ""},
        {"scan", "-p", "1", "--timeout", ""}, {"scan", "-p", "1", "--baud", ""}, {"scan", "-p", "1", "--listen", ""},
        {"set-address", "-p", "1", "1", ""}, {"set-address", "-p", "1", "", "3"},
        {"set-address", "-p", "1", "--settle", "", "1", "3"}, {"monitor", "-p", "1", "-b", ""},
        {"calibrate", "-p", "1", ""}, {"calibrate", "-p", "1", "--timeout", "", "1"},
        {"commission", "-p", "1", "--factory", "", "--first", "10"},
        {"commission", "-p", "1", "--factory", "1", "--first", "10", "--count", ""}, {"doctor", "-p", "1", "--to", ""},
    };
    const Strings hostile{"", "-1", "+5", "99999999999999999999", "4294967297", "0x10", "1e2", " 5", "5 ", "５", "5a"};
    for (const Strings& command : commands) {
        for (const std::string& value : hostile) {
            Strings args = command;
            std::ranges::replace(args, std::string(), value);
            std::string out;
            const auto parsed = Parse(args, &out);
            ASSERT_TRUE(std::holds_alternative<int>(parsed)) << args[0] << " '" << value << "'";
            EXPECT_EQ(std::get<int>(parsed), 2) << args[0] << " '" << value << "'";
            EXPECT_EQ(out, "");
        }
    }
    for (const Strings& args : std::vector<Strings>{
             {"scan", "-p", "1", "--from", "9", "--to", "3"}, {"doctor", "-p", "1", "--from", "9", "--to", "3"},
             {"commission", "-p", "1", "--factory", "1", "--first", "20", "--last", "10"},
             {"commission", "-p", "1", "--factory", "1", "--first", "10", "--count", "0"},
             {"commission", "-p", "1", "--first", "10"}, {"scan", "-p", "1", "--timeout", "19"},
             {"set-address", "-p", "1", "5", "5"}, {"set-address", "-p", "1", "--baud", "all", "1", "2"},
             {"scan", "-p", "0"}, {"scan"}, {"raw", "1", "3", "probe", "5", "250"},
         }) {
        const auto parsed = Parse(args);
        EXPECT_TRUE(std::holds_alternative<int>(parsed) && std::get<int>(parsed) == 2) << args[0] << " " << args.back();
    }
}

TEST(CommandLine, ReadsNumbersAsDecimalAndSpeedsByName)
{
    const auto scan = std::get<ScanRequest>(std::get<Command>(
        Parse({"scan", "-p", "/dev/ttyUSB0", "--from", "002", "--to", "0017", "--timeout", "020", "-b", "all"})));
    EXPECT_EQ(scan.port.text, "/dev/ttyUSB0");
    EXPECT_EQ(scan.from, 2u);
    EXPECT_EQ(scan.to, 17u);
    EXPECT_EQ(scan.timeoutMs, 20u);
    EXPECT_EQ(scan.baudIndexes, (std::vector<int>{3, 4, 2, 1, 0}));

    const auto move = std::get<SetAddressCommand>(std::get<Command>(Parse({"set-address", "-p", "7", "-b", "1200", "05", "9", "--verify"})));
    EXPECT_EQ(move.exchange.baudIndex, 0);
    EXPECT_EQ(move.exchange.timeoutMs, 500u);
    EXPECT_EQ(move.move.oldAddress, 5u);
    EXPECT_EQ(move.move.newAddress, 9u);
    EXPECT_TRUE(move.move.verify);

    std::string out;
    EXPECT_EQ(std::get<int>(Parse({"--version"}, &out)), 0);
    EXPECT_EQ(out.rfind("tarnel-link ", 0), 0u) << out;
}

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
