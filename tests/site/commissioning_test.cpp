// Commissioning on a scripted bus: one new controller at the factory address
// 1, to be given 10, and every kind of answer at each place it is asked.

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
using test::AsBytes;
using test::Bytes;
using test::ScriptedLine;

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
        const auto answers = AnswerOf(kind, request, valid);
        replies.insert(replies.end(), answers.begin(), answers.end());
        return replies;
    };
}

class MemoryFile : public platform::AppendFile {
public:
    explicit MemoryFile(bool fails) : fails_(fails) {}
    const std::string& Contents() const override { return text; }
    std::error_code Append(std::string_view more) override
    {
        if (fails_) {
            return std::make_error_code(std::errc::no_space_on_device);
        }
        text += more;
        return {};
    }
    std::string text;

private:
    bool fails_;
};

class FixedClock : public WallClock {
public:
    RecordTime Now() const override { return {}; }
};

// Writes down each event, the rows as the record has them but for the time.
class CommissionLog : public CommissioningView {
public:
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

private:
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
};

std::string Commission(const CommissionCase& c)
{
    ScriptedLine line({}, NewController(c.site, c.masterAfter));
    line.StopAt(3s);
    if (c.loseAfter) {
        line.LoseAfterRequest(c.loseAfter);
    }
    Bus bus(line, 9600);
    auto file = std::make_unique<MemoryFile>(c.unwritable);
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
        commissioning.Tick();
    }
    return log.seen;
}

const std::string kFound = "choose 10; connect 1; move 10; ";
const std::string kMoved = kFound + "row 10,9600,1,moved,not asked; end count";

RecordRow Row(std::uint32_t address, Outcome::Kind outcome)
{
    return {{}, address, 9600, 1, {outcome}, {}, std::nullopt};
}

const CommissionCase kCommissionCases[] = {
    {"moved", {}, kMoved},
    // What answers at 1 before anything is moved: one controller's valid reply, or nothing yet.
    {"nothing at 1", {.factory = Kind::None}, "choose 10; connect 1; end stopped"},
    // A controller slower than the poll answers each probe in the next one's
    // wait, and once more after the move: as if a second one were there.
    {"late at 1", {.factory = Kind::Late}, kFound + "second; row 10,9600,1,another controller still at 1,not asked; end count"},
    {"corrupt at 1", {.factory = Kind::Corrupt}, "choose 10; connect 1; several; end stopped"},
    {"short at 1", {.factory = Kind::Short}, "choose 10; connect 1; several; end stopped"},
    {"two at 1", {.factory = Kind::Collision}, "choose 10; connect 1; several; end stopped"},
    {"refused at 1", {.factory = Kind::Exception}, "choose 10; connect 1; end stopped"},
    {"echo at 1", {.factory = Kind::Echo}, "choose 10; connect 1; end stopped"},
    // Anything but an echo at 10 before the move: it is taken, and 11 is given out.
    {"valid at 10", {.taken = Kind::Valid}, "choose 10; skip 10; choose 11; connect 1; move 11; row 11,9600,1,moved,not asked; end count"},
    {"late at 10", {.taken = Kind::Late}, "choose 10; skip 10; choose 11; connect 1; move 11; row 11,9600,1,moved,not asked; end count"},
    {"corrupt at 10", {.taken = Kind::Corrupt}, "choose 10; skip 10; choose 11; connect 1; move 11; row 11,9600,1,moved,not asked; end count"},
    {"short at 10", {.taken = Kind::Short}, "choose 10; skip 10; choose 11; connect 1; move 11; row 11,9600,1,moved,not asked; end count"},
    {"two at 10", {.taken = Kind::Collision}, "choose 10; skip 10; choose 11; connect 1; move 11; row 11,9600,1,moved,not asked; end count"},
    {"refused at 10", {.taken = Kind::Exception}, "choose 10; skip 10; choose 11; connect 1; move 11; row 11,9600,1,moved,not asked; end count"},
    {"echo at 10", {.taken = Kind::Echo}, kMoved},
    // The change of address itself.
    {"no acknowledgement", {.ack = Kind::None}, kFound + "row 10,9600,1,set-address: no answer,not asked; end count"},
    {"late acknowledgement", {.ack = Kind::Late}, kMoved},
    {"corrupt acknowledgement", {.ack = Kind::Corrupt}, kFound + "row 10,9600,1,set-address: corrupt answer,not asked; end count"},
    {"change refused", {.ack = Kind::Exception}, kFound + "row 10,9600,1,set-address: refused (exception 2),not asked; end count"},
    {"echo of the change", {.ack = Kind::Echo}, kFound + "row 10,9600,1,set-address: echo only,not asked; end count"},
    // Only a valid reply at 10 after the move counts.
    {"silent at 10 after", {.moved = Kind::None}, kFound + "row 10,9600,1,verify: no answer,not asked; end count"},
    {"late at 10 after", {.moved = Kind::Late}, kMoved},
    {"corrupt at 10 after", {.moved = Kind::Corrupt}, kFound + "row 10,9600,1,verify: corrupt answer,not asked; end count"},
    {"short at 10 after", {.moved = Kind::Short}, kFound + "row 10,9600,1,verify: short answer,not asked; end count"},
    {"two at 10 after", {.moved = Kind::Collision}, kFound + "row 10,9600,1,verify: corrupt answer,not asked; end count"},
    {"refused at 10 after", {.moved = Kind::Exception}, kFound + "row 10,9600,1,verify: refused (exception 2),not asked; end count"},
    {"echo at 10 after", {.moved = Kind::Echo}, kFound + "row 10,9600,1,verify: echo only,not asked; end count"},
    {"still one at 1 after", {.left = Kind::Valid}, kFound + "second; row 10,9600,1,another controller still at 1,not asked; end count"},
    {"garbled at 1 after", {.left = Kind::Collision}, kFound + "second; row 10,9600,1,another controller still at 1,not asked; end count"},
    // The rope: in water, skipped, dry and tried again, and nobody answering.
    {"calibrated", {}, kFound + "rope? 10; calibrate 10; row 10,9600,1,moved,calibrated; end count", true, "w"},
    {"skipped", {}, kFound + "rope? 10; row 10,9600,1,moved,skipped; end count", true, "s"},
    {"dry, then in water", {.ropes = {1, 0}}, kFound + "rope? 10; calibrate 10; dry 1; calibrate 10; row 10,9600,1,moved,calibrated; end count", true, "ww"},
    {"dry, then skipped", {.ropes = {0x123}}, kFound + "rope? 10; calibrate 10; dry 291; row 10,9600,1,moved,rope dry (value 0x0123); end count", true, "ws"},
    {"nobody answers", {}, kFound + "rope? 10; row 10,9600,1,moved,skipped; end stopped moving 10", true, ""},
    // The adapter pulled at each step: a move under way is recorded as such.
    {"lost while choosing", {}, "choose 10; end lost", false, "", 1},
    {"lost while waiting", {}, "choose 10; connect 1; end lost", false, "", 2},
    {"lost while moving", {}, kFound + "row 10,9600,1,adapter lost,not asked; end lost moving 10", false, "", 3},
    {"lost while verifying", {}, kFound + "row 10,9600,1,adapter lost,not asked; end lost moving 10", false, "", 4},
    {"lost while checking 1", {}, kFound + "row 10,9600,1,adapter lost,not asked; end lost moving 10", false, "", 5},
    {"lost while calibrating", {}, kFound + "rope? 10; calibrate 10; row 10,9600,1,moved,no answer; end lost moving 10", true, "w", 6},
    // The record: rows given out stay taken, failed ones too; a row that cannot be written ends the run.
    {"resumed", {}, "choose 12; connect 1; move 12; row 12,9600,1,moved,not asked; end count", false, "", 0,
     {Row(10, Outcome::Kind::Moved), Row(11, Outcome::Kind::AdapterLost)}},
    {"every address recorded", {}, "end no address", false, "", 0,
     {Row(10, Outcome::Kind::Moved), Row(11, Outcome::Kind::Moved), Row(12, Outcome::Kind::Stopped)}},
    {"unwritable", {}, kFound + "unrecorded 10; end unwritable moving 10", false, "", 0, {}, true},
    // Another master: nothing more is sent once it is heard.
    {"another master while moving", {}, kFound + "row 10,9600,1,another master,not asked; end other master moving 10",
     false, "", 0, {}, false, 3},
    {"another master while waiting", {}, "choose 10; end other master", false, "", 0, {}, false, 1},
};

void PrintTo(const CommissionCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommissioningTest : public ::testing::TestWithParam<CommissionCase> {};

TEST_P(CommissioningTest, GivesOutAddressesAndRecordsWhatBecameOfEach)
{
    EXPECT_EQ(Commission(GetParam()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommissioningTest, ::testing::ValuesIn(kCommissionCases), [](const auto& info) {
    std::string name = info.param.name;
    std::ranges::replace_if(name, [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
});

}  // namespace
}  // namespace tarnel::site
