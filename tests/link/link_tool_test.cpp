#include "child_process.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// What it printed, and its exit status.
std::pair<std::string, int> RunLinkTool(const std::vector<std::string>& args)
{
    std::vector<std::string> command{TARNEL_LINK_PATH};
    command.insert(command.end(), args.begin(), args.end());
    tarnel::test::ChildProcess tool(command);
    std::string output = tool.ReadToEnd();
    return {std::move(output), tool.Status()};
}

TEST(LinkTool, RefusesABadCommandLineBeforeAnythingIsSent)
{
    tarnel::test::PseudoTerminal pty;
    tarnel::test::PortsOverride ports(pty.SlavePath());
    for (const auto& args : std::vector<std::vector<std::string>>{{"1", "3", "probe", "5", "250", "bogus"},
                                                                   {"1", "3", "set-address", "1", "300"},
                                                                   {"1", "3", "calibrate", "-1"},
                                                                   {"1", "3", "probe", "5"}}) {
        EXPECT_EQ(RunLinkTool(args), std::make_pair(std::string(), 2)) << args[2];
    }
    EXPECT_TRUE(pty.Receive(100ms).empty());

    EXPECT_EQ(RunLinkTool({"1", "3", "probe", "5", "50"}), std::make_pair(std::string("opened port 1\nprobe 5 silent\n"), 1));
    EXPECT_EQ(pty.Receive(500ms, 8).size(), 8u);
}

}  // namespace
