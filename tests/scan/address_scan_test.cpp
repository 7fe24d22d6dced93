#include "scan/address_scan.h"

#include "case_name.h"
#include "link/frames.h"
#include "scripted_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnel::scan {
namespace {

// Notes everything the scan asks of its window, in order.
struct RecordingView : ScanView {
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

using namespace std::chrono_literals;

const std::vector<std::string> kBackToIdle{"ticks stop", "keep 0", "caption 搜索"};

struct ScanCase {
    const char* name;
    std::vector<test::ScriptedLine::Event> events;
    std::uint32_t start;
    std::vector<std::string> afterStart, afterIdle;  // before and after going back to idle
    std::vector<int> probed;
    link::Micros lostAt = 1h;
};

const ScanCase kScanCases[] = {
    // The found address stays in the result field, written by the tick before.
    {"ControllerAt252FromStart250", {{3, 10ms, test::ValueReply(252)}}, 250,
     {"show 251", "show 252", "ticks stop", "box 地址为:252"}, {}, {250, 251, 252}},
    // Nothing is shown before the first answer: the field keeps its old text.
    {"FirstProbeAnswered", {{1, 10ms, test::ValueReply(40)}}, 40, {"ticks stop", "box 地址为:40"}, {}, {40}},
    // Every address up to 255 is probed; the field goes on showing 256
    // behind and after the box.
    {"NobodyFromStart252", {}, 252, {"show 253", "show 254", "show 255", "show 256", "ticks stop", "box 没有搜到地址！"},
     {}, {252, 253, 254, 255}},
    // Any 7 bytes count, a garbled answer of full length too; fewer do not.
    {"SevenBytesOfAnythingCount", {{1, 10ms, test::Bytes(6, 0x77)}, {2, 10ms, test::Bytes(7, 0x77)}}, 6,
     {"show 7", "ticks stop", "box 地址为:7"}, {}, {6, 7}},
    // A line that goes away ends the scan: nothing more is probed.
    {"LineLost", {}, 0, {"show 1", "show 2", "show 3"}, {"box line lost"}, {0, 1, 2, 3}, 100ms},
};

TABLE_TEST(AddressScanTest, WalksUpFromTheStartAndEndsAsTheBusAnswers, ScanCase, kScanCases)
{
    const ScanCase& c = GetParam();
    test::ScriptedLine line(c.events);
    line.LoseAt(c.lostAt);
    RecordingView view;
    AddressScan scan{view};
    scan.Start(c.start, 30);
    for (int tick = 0; scan.Running() && tick < 100; ++tick) {
        scan.Tick(line);
    }
    scan.Tick(line);  // a late tick after the end probes nothing

    const std::vector<std::string> started{"keep " + std::to_string(c.start), "caption 停止", "ticks every 30"};
    EXPECT_EQ(view.seen, test::Joined(test::Joined(test::Joined(started, c.afterStart), kBackToIdle), c.afterIdle));
    std::vector<int> probed;
    for (const auto& request : line.Writes()) {
        EXPECT_EQ(request.bytes, test::AsBytes(link::ProbeFrame(request.bytes[0])));
        probed.push_back(request.bytes[0]);
    }
    EXPECT_EQ(probed, c.probed);
}

}  // namespace
}  // namespace tarnel::scan
