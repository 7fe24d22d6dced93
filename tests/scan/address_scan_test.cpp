#include "scan/address_scan.h"

#include "pseudo_terminal.h"
#include "sim_process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnel::scan {
namespace {

// Notes everything the scan asks of its window, in order.
class RecordingView : public ScanView {
public:
    std::vector<std::string> seen;

    void StartTicks(std::uint32_t periodMs) override { seen.push_back("ticks every " + std::to_string(periodMs)); }
    void StopTicks() override { seen.push_back("ticks stop"); }
    void ShowRunning(bool running) override { seen.push_back(running ? "caption 停止" : "caption 搜索"); }
    void KeepResult(std::uint32_t value) override { seen.push_back("keep " + std::to_string(value)); }
    void ShowResult(std::uint32_t value) override { seen.push_back("show " + std::to_string(value)); }
    void AnnounceFound(std::uint32_t address) override { seen.push_back("box 地址为:" + std::to_string(address)); }
    void AnnounceNothingFound() override { seen.push_back("box 没有搜到地址！"); }
    void AnnounceLineLost() override { seen.push_back("box line lost"); }
};

// A scan on the port at `device`, and what it asked of its window.
struct ScanOn {
    explicit ScanOn(const std::string& device) : ports(device), port(link::OpenPort(1, 3)) {}

    test::PortsOverride ports;
    link::PortHandle port;
    RecordingView view;
    AddressScan scan{view};
};

const std::vector<std::string> kBackToIdle{"ticks stop", "keep 0", "caption 搜索"};

struct ScanCase {
    const char* name;
    std::vector<std::string> controllers;
    std::uint32_t start;
    std::vector<std::string> afterStart;  // then back to idle
    std::vector<int> probed;
};

class AddressScanTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(AddressScanTest, WalksUpFromTheStartAndEndsAsTheBusAnswers)
{
    const ScanCase& c = GetParam();
    test::SimProcess sim(c.controllers);
    ScanOn on(sim.DevicePath());
    auto& [ports, port, view, scan] = on;
    ASSERT_TRUE(port.IsOpen());
    scan.Start(c.start, 30);
    for (int tick = 0; scan.Running() && tick < 10; ++tick) {
        scan.Tick(port);
    }
    scan.Tick(port);  // a late tick after the end probes nothing

    std::vector<std::string> expected{"keep " + std::to_string(c.start), "caption 停止", "ticks every 30"};
    expected.insert(expected.end(), c.afterStart.begin(), c.afterStart.end());
    expected.insert(expected.end(), kBackToIdle.begin(), kBackToIdle.end());
    EXPECT_EQ(view.seen, expected);
    EXPECT_EQ(sim.ProbedAddresses(), c.probed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressScanTest,
    ::testing::Values(
        // The found address stays in the result field, written by the tick before.
        ScanCase{"ControllerAt252FromStart250", {"252"}, 250,
                 {"show 251", "show 252", "ticks stop", "box 地址为:252"}, {250, 251, 252}},
        // Nothing is shown before the first answer: the field keeps its old text.
        ScanCase{"FirstProbeAnswered", {"40"}, 40, {"ticks stop", "box 地址为:40"}, {40}},
        // Every address up to 255 is probed; the field goes on showing 256
        // behind and after the box.
        ScanCase{"NobodyFromStart252", {"1"}, 252,
                 {"show 253", "show 254", "show 255", "show 256", "ticks stop", "box 没有搜到地址！"},
                 {252, 253, 254, 255}},
        // A garbled answer of full length still counts, as any 7 bytes do.
        ScanCase{"BadCheckCounts", {"7,bad-crc"}, 6, {"show 7", "ticks stop", "box 地址为:7"}, {6, 7}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tarnel::scan
