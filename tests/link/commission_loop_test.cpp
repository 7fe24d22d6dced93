// The commissioning loop on scripted lines: one new controller at 1 given
// address 10, and every way that can go wrong, as the record names it.

#include "commission.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "link/protocol.h"
#include "scripted_line.h"
#include "site_record.h"

#include <gtest/gtest.h>

namespace tarnel::tool {
namespace {

using namespace std::chrono_literals;
using test::AsBytes;
using test::Bytes;
using test::ScriptedLine;
using test::ValueReply;

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
const Bytes kAck = link::Sealed({1, link::kWriteRegister, 0x80, 0x01, 0x00, 10});
const ScriptedLine::Event kAtFactory{2, 5ms, ValueReply(1)};
const ScriptedLine::Event kAcknowledged{3, 5ms, kAck};
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
        {"moved", {kAtFactory, kAcknowledged, kAtNew}, 0, "10,9600,1,moved,not asked,"},
        {"no acknowledgement", {kAtFactory}, 4, "10,9600,1,set-address: no answer,not asked,"},
        {"refused", {kAtFactory, {3, 5ms, link::Sealed({1, 0x86, 0x02})}}, 4,
         "10,9600,1,set-address: refused (exception 2),not asked,"},
        {"silent at 10", {kAtFactory, kAcknowledged}, 4, "10,9600,1,verify: no answer,not asked,"},
        {"corrupt at 10", {kAtFactory, kAcknowledged, {4, 6ms, corrupt}}, 4,
         "10,9600,1,verify: corrupt answer,not asked,"},
        {"another at 1", {kAtFactory, kAcknowledged, kAtNew, {5, 5ms, ValueReply(1)}}, 4,
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
