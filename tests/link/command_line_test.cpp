#include "command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace tarnel::tool {
namespace {

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

}  // namespace
}  // namespace tarnel::tool
