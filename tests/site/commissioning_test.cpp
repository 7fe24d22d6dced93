// Commissioning on a scripted bus: one new controller at the factory address
// 1, to be given 10, and every kind of answer at each place it is asked.

#include "case_name.h"
#include "link/frame_shapes.h"
#include "link/frames.h"
#include "link/protocol.h"
#include "scripted_line.h"
#include "site/commissioning.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

namespace tarnel::site {
namespace {

using namespace std::chrono_literals;
using namespace test;

enum class Kind { Valid, None, Late, Corrupt, Short, Exception, Echo, Collision };

// What answers where: the new controller, at 1 until it is moved to 10.
struct Site {
    Kind factory = Kind::Valid;  // probes of 1 before the move
    Kind taken = Kind::None;     // probes of 10 before the move
    Kind ack = Kind::Valid;      // the change of address
    Kind moved = Kind::Valid;    // probes of 10 after it
    Kind left = Kind::None;      // probes of 1 after it
    std::vector<std::uint16_t> ropes{0};  // what each calibration reads
};

std::vector<ScriptedLine::Reply> AnswerOf(Kind kind, const Bytes& request, Bytes valid)
{
    switch (kind) {
    case Kind::None: return {};
    case Kind::Valid: return {{5ms, valid}};
    case Kind::Late: return {{300ms, valid}};
    case Kind::Corrupt: valid.back() ^= 0xFF; return {{5ms, valid}};
    case Kind::Short: return {{5ms, Bytes(valid.begin(), valid.begin() + 4)}};
    case Kind::Exception:
        return {{5ms, link::Sealed({request[0], static_cast<std::uint8_t>(request[1] | link::kExceptionBit), 2})}};
    case Kind::Echo: return {{9ms, request}};
    case Kind::Collision: break;
    }
    return {{5ms, {0x00, 0x00, 0x01, 0x00, 0x00, 0x12, 0x34}}};
}

ScriptedLine::Responder NewController(const Site& site, unsigned masterAfter)
{
    return [site, masterAfter, movedTo = std::optional<std::uint8_t>(), calibrations = std::size_t{0}](
               const Bytes& request, unsigned number) mutable {
        std::vector<ScriptedLine::Reply> replies;
        if (number == masterAfter) {
            replies.push_back({20ms, AsBytes(link::ProbeFrame(30))});
        }
        const std::uint8_t address = request[0];
        Bytes valid = test::ValueReply(address);
        Kind kind = Kind::None;
        if (request[1] == link::kWriteRegister) {
            movedTo = site.factory == Kind::None ? movedTo : request[7];
            kind = site.ack;
            valid = link::Sealed({1, link::kWriteRegister, 0x80, 0x01, 0x00, request[7]});
        } else if (request == AsBytes(link::ZeroCalibrationFrame(address))) {
            kind = movedTo ? Kind::Valid : Kind::None;
            valid = test::ValueReply(address, site.ropes[std::min(calibrations++, site.ropes.size() - 1)]);
        } else if (address == 1) {
            kind = movedTo ? site.left : site.factory;
        } else if (address == movedTo) {
            kind = site.moved;
        } else if (address == 10) {
            kind = site.taken;
        }
        return Joined(replies, AnswerOf(kind, request, valid));
    };
}

struct MemoryFile : platform::AppendFile {
    const std::string& Contents() const override { return text; }
    std::error_code Append(std::string_view more) override
    {
        if (fails) {
            return std::make_error_code(std::errc::no_space_on_device);
        }
        text += more;
        return {};
    }
    bool fails = false;
    std::string text;
};

struct FixedClock : WallClock {
    RecordTime Now() const override { return {}; }
};

// Writes down each event, the rows as the record has them but for the time.
struct CommissionLog : CommissioningView {
    explicit CommissionLog(const MemoryFile& file) : file_(file) {}

    void Stepped(CommissionStep step, std::uint32_t address, unsigned) override
    {
        static const char* const kNames[] = {"choose ", "connect ", "move ", "rope? ", "calibrate ", "disconnect "};
        Note(kNames[static_cast<int>(step)] + std::to_string(address));
    }
    void Skipped(std::uint32_t address) override { Note("skip " + std::to_string(address)); }
    void SeveralAtFactory(std::uint32_t) override { Note("several"); }
    void SecondAtFactory(std::uint32_t) override { Note("second"); }
    void RopeDry(std::uint32_t, std::uint16_t value) override { Note("dry " + std::to_string(value)); }
    void Recorded(const RecordRow& row) override
    {
        const std::string line = RecordLine(row);
        EXPECT_TRUE(file_.text.ends_with(line)) << "announced before it was written";
        Note("row " + line.substr(line.find(',') + 1, line.rfind(',') - line.find(',') - 1));
    }
    void NotRecorded(const RecordRow& row, std::error_code) override { Note("unrecorded " + std::to_string(row.address)); }
    void Ended(const CommissionEnd& end) override
    {
        static const char* const kReasons[] = {"count", "no address", "stopped", "lost", "other master", "unwritable"};
        Note(std::string("end ") + kReasons[static_cast<int>(end.reason)] +
             (end.moving ? " moving " + std::to_string(*end.moving) : ""));
    }

    std::string seen;

    void Note(const std::string& event) { seen += (seen.empty() ? "" : "; ") + event; }
    const MemoryFile& file_;
};

struct CommissionCase {
    const char* name;
    Site site;
    std::string expected;
    bool calibrate = false;
    std::string person{};  // answers to "rope in water?": w(ater) or s(kip)
    unsigned loseAfter = 0;
    std::vector<RecordRow> recorded{};
    bool unwritable = false;
    unsigned masterAfter = 0;  // another master's request heard after this request
    bool chatter = false;      // a byte every 2 ms for the first second
};

std::string Commission(const CommissionCase& c)
{
    std::vector<ScriptedLine::Event> chatter;
    for (int i = 0; c.chatter && i < 500; ++i) {
        chatter.push_back({0, i * 2ms, {0x55}});
    }
    ScriptedLine line(chatter, NewController(c.site, c.masterAfter));
    line.StopAt(3s);
    line.LoseAfterRequest(c.loseAfter);
    Bus bus(line, 9600);
    auto file = std::make_unique<MemoryFile>();
    file->fails = c.unwritable;
    CommissionLog log(*file);
    Record record(std::move(file), c.recorded);
    const FixedClock clock;
    Commissioning commissioning(bus, {.factory = 1, .first = 10, .last = 12, .count = 1, .calibrate = c.calibrate,
                                      .timeoutMs = 50, .listenMs = 0},
                                record, clock, log);
    std::deque<char> person(c.person.begin(), c.person.end());
    while (!commissioning.Finished() && line.Elapsed() < 10s) {
        if (commissioning.AwaitingRope() && !person.empty()) {
            person.front() == 'w' ? commissioning.RopeInWater() : commissioning.SkipCalibration();
            person.pop_front();
        }
        const link::Micros before = line.Elapsed();
        commissioning.Tick();
        // One request or a slice of waiting: the longest is a 200 ms probe of 1.
        EXPECT_LE(line.Elapsed() - before, 220ms);
    }
    return log.seen;
}

const std::string kWaiting = "choose 10; connect 1; ";
const std::string kFound = kWaiting + "move 10; ";

// Found, moved to 10 or not, and recorded as `outcome`.
std::string Recorded(const std::string& outcome, const std::string& calibration = "not asked",
                     const std::string& before = "")
{
    return kFound + before + "row 10,9600,1," + outcome + "," + calibration + "; end count";
}

const std::string kMoved = Recorded("moved");
const std::string kSeveral = kWaiting + "several; end stopped";
const std::string kSecond = Recorded("another controller still at 1", "not asked", "second; ");
// Something answers at 10: 11 is given out.
const std::string kTaken = "choose 10; skip 10; choose 11; connect 1; move 11; row 11,9600,1,moved,not asked; end count";

// What each kind of answer comes to at each place it is heard: at 1 before
// the move (where a controller slower than the poll answers each probe in
// the next one's wait, and once more after the move), at 10 before it, to
// the change itself, at 10 after it, and at 1 after it.
const struct { Kind kind; std::string atFactory, atTaken, toTheChange, atNew, atFactoryAfter; } kEveryKind[] = {
    {Kind::Valid, kMoved, kTaken, kMoved, kMoved, kSecond},
    {Kind::None, kWaiting + "end stopped", kMoved, Recorded("set-address: no answer"), Recorded("verify: no answer"), kMoved},
    {Kind::Late, kSecond, kTaken, kMoved, kMoved, kMoved},
    {Kind::Corrupt, kSeveral, kTaken, Recorded("set-address: corrupt answer"), Recorded("verify: corrupt answer"), kSecond},
    {Kind::Short, kSeveral, kTaken, Recorded("set-address: short answer"), Recorded("verify: short answer"), kSecond},
    {Kind::Exception, kWaiting + "end stopped", kTaken, Recorded("set-address: refused (exception 2)"), Recorded("verify: refused (exception 2)"), kSecond},
    {Kind::Echo, kWaiting + "end stopped", kMoved, Recorded("set-address: echo only"), Recorded("verify: echo only"), kMoved},
    {Kind::Collision, kSeveral, kTaken, Recorded("set-address: corrupt answer"), Recorded("verify: corrupt answer"), kSecond},
};

TEST(Commissioning, EveryKindOfAnswerAtEachPlace)
{
    for (const auto& c : kEveryKind) {
        const int kind = static_cast<int>(c.kind);
        EXPECT_EQ(Commission({"", {.factory = c.kind}, ""}), c.atFactory) << kind;
        EXPECT_EQ(Commission({"", {.taken = c.kind}, ""}), c.atTaken) << kind;
        EXPECT_EQ(Commission({"", {.ack = c.kind}, ""}), c.toTheChange) << kind;
        EXPECT_EQ(Commission({"", {.moved = c.kind}, ""}), c.atNew) << kind;
        EXPECT_EQ(Commission({"", {.left = c.kind}, ""}), c.atFactoryAfter) << kind;
    }
}

RecordRow Row(std::uint32_t address, Outcome::Kind outcome)
{
    return {{}, address, 9600, 1, {outcome}, {}, std::nullopt};
}

const std::string kLost = kFound + "row 10,9600,1,adapter lost,not asked; end lost moving 10";

const CommissionCase kCommissionCases[] = {
    // The rope: in water, skipped, dry and tried again, and nobody answering.
    {"calibrated", {}, Recorded("moved", "calibrated", "rope? 10; calibrate 10; "), true, "w"},
    {"skipped", {}, Recorded("moved", "skipped", "rope? 10; "), true, "s"},
    {"dry, then in water", {.ropes = {1, 0}}, Recorded("moved", "calibrated", "rope? 10; calibrate 10; dry 1; calibrate 10; "), true, "ww"},
    {"dry, then skipped", {.ropes = {0x123}}, Recorded("moved", "rope dry (value 0x0123)", "rope? 10; calibrate 10; dry 291; "), true, "ws"},
    {"nobody answers", {}, kFound + "rope? 10; row 10,9600,1,moved,skipped; end stopped moving 10", true, ""},
    // The adapter pulled at each step: a move under way is recorded as such.
    {"lost while choosing", {}, "choose 10; end lost", false, "", 1},
    {"lost while waiting", {}, kWaiting + "end lost", false, "", 2},
    {"lost while moving", {}, kLost, false, "", 3},
    {"lost while verifying", {}, kLost, false, "", 4},
    {"lost while checking 1", {}, kLost, false, "", 5},
    {"lost while calibrating", {}, kFound + "rope? 10; calibrate 10; row 10,9600,1,moved,no answer; end lost moving 10", true, "w", 6},
    // The record: its addresses stay taken, failed ones too; a row that cannot be written ends the run.
    {"resumed", {}, "choose 12; connect 1; move 12; row 12,9600,1,moved,not asked; end count", false, "", 0,
     {Row(10, Outcome::Kind::Moved), Row(11, Outcome::Kind::AdapterLost)}},
    {"every address recorded", {}, "end no address", false, "", 0,
     {Row(10, Outcome::Kind::Moved), Row(11, Outcome::Kind::Moved), Row(12, Outcome::Kind::Stopped)}},
    {"unwritable", {}, kFound + "unrecorded 10; end unwritable moving 10", false, "", 0, {}, true},
    // Another master: the controller under way is recorded, then nothing more is sent.
    {"another master while moving", {}, kFound + "row 10,9600,1,another master,not asked; end other master moving 10", false, "", 0, {}, false, 3},
    {"another master while waiting", {}, "choose 10; end other master", false, "", 0, {}, false, 1},
    // A line that is never quiet for long is waited out a slice a tick.
    {"a chattering line", {}, kMoved, false, "", 0, {}, false, 0, true},
};

TABLE_TEST(CommissioningTest, GivesOutAddressesAndRecordsWhatBecameOfEach, CommissionCase, kCommissionCases)
{
    EXPECT_EQ(Commission(GetParam()), GetParam().expected);
}

}  // namespace
}  // namespace tarnel::site
