#include "commission.h"

#include "console.h"
#include "exit_codes.h"
#include "link/frames.h"
#include "link/protocol.h"
#include "messages.h"
#include "platform/append_file.h"
#include "platform/error_text.h"
#include "platform/terminal.h"
#include "site_record.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace tarnel::tool {

using messages::Format;
using messages::N_;
using messages::Tr;
using messages::TrN;

namespace {

using namespace std::chrono_literals;

// The factory address is probed about this often while waiting, and each
// probe waits this long: a controller answers in a few milliseconds.
constexpr std::uint32_t kPollMs = 200;
// Garbled answers at the factory address this many times in a row: more
// than one controller is connected.
constexpr int kGarbledInARow = 3;
// Silent probes in a row that show a failed controller was disconnected.
constexpr int kSilentInARow = 3;
// While the controller takes its new address.
constexpr std::uint32_t kSettleMs = 100;

std::string AnswerText(const Answer& answer)
{
    if (answer.frame && Refusal(*answer.frame)) {
        return "refused (exception " + std::to_string(answer.frame->bytes[2]) + ")";
    }
    if (answer.frame) {
        return answer.frame->kind == Heard::Short ? N_("short answer") : N_("corrupt answer");
    }
    return answer.echoed ? N_("echo only") : N_("no answer");
}

// How a step of a move failed, as the record names it: "set-address: no
// answer", "verify: corrupt answer".
std::string StepFailure(std::string_view step, const Answer& answer)
{
    return std::string(step) + ": " + AnswerText(answer);
}

// A record's words as a person reads them; the record itself keeps English.
std::string Shown(const std::string& value)
{
    unsigned dry = 0;
    if (std::sscanf(value.c_str(), "rope dry (value 0x%X)", &dry) == 1) {
        return Format(Tr("rope dry (value 0x%04X)"), dry);
    }
    if (const auto colon = value.find(": "); colon != std::string::npos) {
        return Tr(value.substr(0, colon).c_str()) + std::string(": ") + Shown(value.substr(colon + 2));
    }
    return Tr(value.c_str());
}

class Commissioning {
public:
    Commissioning(Bus& bus, const CommissionOptions& options, platform::AppendFile& record, std::string recordPath,
                  std::set<std::uint32_t> recorded)
        : bus_(bus),
          options_(options),
          record_(record),
          recordPath_(std::move(recordPath)),
          recorded_(std::move(recorded)),
          next_(NumberingStart(options.first, options.last, recorded_)),
          baud_(link::kBaudRates[static_cast<std::size_t>(options.exchange.baudIndex)].rate)
    {
    }

    int Run()
    {
        for (;;) {
            const std::optional<std::uint32_t> address = ChooseAddress();
            if (bus_.Stopped()) {
                return Ended();
            }
            if (!address) {
                Print(Format(Tr("no free address left from %u up to %u"), options_.first, options_.last));
                Summary();
                return kNotDone;
            }
            if (!AwaitController()) {
                return Ended();
            }
            inProgress_ = *address;
            RecordRow row = Move(*address);
            if (const int status = Write(row); status != kSuccess) {
                return status;
            }
            Announce(row);
            if (bus_.Stopped()) {
                return Ended();
            }
            inProgress_.reset();
            if (options_.count != 0 && moved_ + failed_ == options_.count) {
                Summary();
                return unfinished_ == 0 ? kSuccess : kNotConfirmed;
            }
            if (row.outcome != "moved" && !AwaitDisconnection()) {
                return Ended();
            }
        }
    }

private:
    // The next free address, skipping those where something answers already.
    std::optional<std::uint32_t> ChooseAddress()
    {
        while (const auto candidate = NextFreeAddress(next_, options_.last, options_.factory, recorded_)) {
            const Answer answer = AskListeningLate(bus_, link::ProbeFrame(*candidate), options_.exchange.timeoutMs);
            if (bus_.Stopped() || !answer.frame) {
                return candidate;
            }
            Print(Format(Tr("%u already answers and is not in the record: skipped"), *candidate));
            next_ = *candidate + 1;
        }
        return std::nullopt;
    }

    // Probes the factory address until one controller answers there.
    bool AwaitController()
    {
        Print(Format(Tr("[%u done] connect the next controller (it answers at %u)"), moved_ + failed_,
                     options_.factory));
        int garbled = 0;
        while (!bus_.Stopped()) {
            const auto started = bus_.Line().Now();
            const Answer answer = bus_.Ask(link::ProbeFrame(options_.factory), kPollMs);
            if (Valid(answer)) {
                return true;
            }
            garbled = answer.frame ? garbled + 1 : 0;
            if (garbled == kGarbledInARow) {
                Print(Format(Tr("more than one controller answers at %u: connect one at a time"), options_.factory));
            }
            const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(bus_.Line().Now() - started);
            bus_.Listen(static_cast<std::uint32_t>(std::max<std::int64_t>(0, kPollMs - waited.count())));
            bus_.TakeOthers();
        }
        return false;
    }

    // After a failed move: waits until nothing answers at the factory address.
    bool AwaitDisconnection()
    {
        Print(Format(Tr("disconnect it; the next one is asked for once nothing answers at %u"), options_.factory));
        for (int silent = 0; silent < kSilentInARow && !bus_.Stopped();) {
            silent = bus_.Ask(link::ProbeFrame(options_.factory), kPollMs).frame ? 0 : silent + 1;
            bus_.TakeOthers();
        }
        return !bus_.Stopped();
    }

    RecordRow Move(std::uint32_t address)
    {
        RecordRow row;
        row.address = address;
        row.baud = baud_;
        row.from = options_.factory;
        row.calibration = N_("not asked");
        const std::uint32_t timeoutMs = options_.exchange.timeoutMs;
        const Answer ack = AskListeningLate(bus_, link::SetAddressFrame(options_.factory, address), timeoutMs);
        if (!Valid(ack)) {
            row.outcome = Interrupted() ? Interruption() : StepFailure(N_("set-address"), ack);
            return row;
        }
        // Listened through rather than slept, so that Ctrl-C ends it.
        bus_.Listen(kSettleMs);
        bus_.TakeOthers();
        const Answer moved = AskListeningLate(bus_, link::ProbeFrame(address), timeoutMs);
        if (!Valid(moved)) {
            row.outcome = Interrupted() ? Interruption() : StepFailure(N_("verify"), moved);
            return row;
        }
        row.responseMs = moved.frame->afterMs;
        const Answer left = bus_.Ask(link::ProbeFrame(options_.factory), kPollMs);
        bus_.TakeOthers();
        if (left.frame) {
            Print(Format(Tr("a second controller answers at %u: it was connected at the same time"),
                         options_.factory));
            row.outcome = Format("another controller still at %u", options_.factory);
            return row;
        }
        row.outcome = Interrupted() ? Interruption() : N_("moved");
        if (row.outcome == "moved" && options_.calibrate) {
            row.calibration = Calibrate(address);
        }
        return row;
    }

    bool Interrupted() const { return bus_.Stopped(); }
    std::string Interruption() const
    {
        return bus_.Line().Lost()            ? N_("adapter lost")
               : bus_.Line().StopRequested() ? N_("interrupted")
                                             : N_("another master");
    }

    // Zero-calibrates once the technician says the rope lies in water; with
    // nobody at the keyboard, at once.
    std::string Calibrate(std::uint32_t address)
    {
        const auto calibrate = [&] {
            return CalibrationResult(
                AskListeningLate(bus_, link::ZeroCalibrationFrame(address), options_.exchange.timeoutMs));
        };
        if (!platform::InputIsTerminal()) {
            return calibrate();
        }
        std::string result = N_("skipped");
        Print(Format(Tr("lay the first 0-0.3 m of the rope of %u in water, then press Enter (s and Enter: skip)"),
                     address));
        for (std::string line; !bus_.Stopped();) {
            const platform::InputLine input = platform::WaitForInputLine(line, 20ms);
            if (input == platform::InputLine::NotYet) {
                continue;
            }
            if (input == platform::InputLine::Closed || line == "s") {
                return result;
            }
            result = calibrate();
            if (!result.starts_with("rope dry")) {
                return result;
            }
            Print(
                Format(Tr("%s: the rope is not in water; Enter: try again, s and Enter: skip"), Shown(result).c_str()));
        }
        return result;
    }

    int Write(RecordRow& row)
    {
        row.time = IsoTime(std::chrono::system_clock::now());
        if (const std::error_code error = record_.Append(RecordLine(row))) {
            Print(Format(Tr("the record %s cannot be written: %s; stopped"), recordPath_.c_str(),
                         platform::ErrorText(error).c_str()));
            Print(Format(Tr("controller at %u: %s, not recorded"), row.address, Shown(row.outcome).c_str()));
            return kNotConfirmed;
        }
        recorded_.insert(row.address);
        next_ = row.address + 1;
        (row.outcome == "moved" ? moved_ : failed_) += 1;
        if (row.outcome != "moved" || (options_.calibrate && row.calibration != "calibrated")) {
            ++unfinished_;
        }
        return kSuccess;
    }

    void Announce(const RecordRow& row)
    {
        if (row.outcome != "moved") {
            Print(Format(Tr("failed %u -> %u: %s (recorded)"), row.from, row.address, Shown(row.outcome).c_str()));
            return;
        }
        const std::string bell = platform::OutputIsTerminal() ? "\a" : "";
        if (options_.calibrate) {
            Print(Format(Tr("moved %u -> %u at %u baud, answers in %u ms, %s: label it %u"), row.from, row.address,
                         row.baud, *row.responseMs, Shown(row.calibration).c_str(), row.address) +
                  bell);
        } else {
            Print(Format(Tr("moved %u -> %u at %u baud, answers in %u ms: label it %u"), row.from, row.address,
                         row.baud, *row.responseMs, row.address) +
                  bell);
        }
    }

    // Ctrl-C or a lost adapter.
    int Ended()
    {
        if (bus_.Line().Lost()) {
            const std::string reason = platform::ErrorText(bus_.Line().Lost());
            Print(inProgress_ ? Format(Tr("the adapter went away: %s (while moving %u -> %u)"), reason.c_str(),
                                       options_.factory, *inProgress_)
                              : Format(Tr("the adapter went away: %s (while waiting for a controller)"),
                                       reason.c_str()));
            Summary();
            return kCannotOpen;
        }
        Summary();
        return bus_.Line().StopRequested() ? kInterrupted : kOtherMaster;
    }

    void Summary() const
    {
        Print(Format(Tr("moved %u, failed %u; record: %s"), moved_, failed_, recordPath_.c_str()));
    }

    Bus& bus_;
    const CommissionOptions& options_;
    platform::AppendFile& record_;
    const std::string recordPath_;
    std::set<std::uint32_t> recorded_;
    std::uint32_t next_;
    const std::uint32_t baud_;
    std::optional<std::uint32_t> inProgress_;
    unsigned moved_ = 0;
    unsigned failed_ = 0;
    unsigned unfinished_ = 0;  // failed, or left uncalibrated when asked to calibrate
};

// Opens the record, or says why not: nothing is sent then.
std::unique_ptr<platform::AppendFile> OpenRecord(const std::string& path, std::set<std::uint32_t>& recorded)
{
    std::error_code error;
    auto file = platform::AppendFile::Open(path, error);
    if (!file) {
        Report("tarnel-link: " + Format(Tr("the record %s cannot be opened: %s; nothing sent"), path.c_str(),
                                        platform::ErrorText(error).c_str()));
        return nullptr;
    }
    const auto read = ReadRecord(file->Contents());
    if (const std::string* problem = std::get_if<std::string>(&read)) {
        Report("tarnel-link: " + Format(Tr("%s is no commissioning record: %s; left untouched, nothing sent"),
                                        path.c_str(), problem->c_str()));
        return nullptr;
    }
    if (file->Contents().empty() && (error = file->Append(std::string(kRecordHeader) + '\n'))) {
        Report("tarnel-link: " + Format(Tr("the record %s cannot be written: %s; nothing sent"), path.c_str(),
                                        platform::ErrorText(error).c_str()));
        return nullptr;
    }
    recorded = RecordedAddresses(std::get<std::vector<RecordRow>>(read));
    return file;
}

}  // namespace

int RunCommission(const CommissionOptions& options)
{
    std::set<std::uint32_t> recorded;
    const auto record = OpenRecord(options.record, recorded);
    if (!record) {
        return kBadCommand;
    }
    const std::string path = std::filesystem::absolute(options.record).string();
    Print(Format(TrN("record: %s (%zu address in it)", "record: %s (%zu addresses in it)", recorded.size()),
                 path.c_str(), recorded.size()));
    return OnBus(options.exchange, [&](Bus& bus) { return Commission(bus, options, *record, path, recorded); });
}

int Commission(Bus& bus, const CommissionOptions& options, platform::AppendFile& record, const std::string& recordPath,
               std::set<std::uint32_t> recorded)
{
    return Commissioning(bus, options, record, recordPath, std::move(recorded)).Run();
}

std::uint32_t NumberingStart(std::uint32_t first, std::uint32_t last, const std::set<std::uint32_t>& recorded)
{
    const auto above = recorded.upper_bound(last);
    if (above == recorded.begin() || *std::prev(above) < first) {
        return first;
    }
    return *std::prev(above) + 1;
}

std::optional<std::uint32_t> NextFreeAddress(std::uint32_t from, std::uint32_t last, std::uint32_t factory,
                                             const std::set<std::uint32_t>& recorded)
{
    for (std::uint32_t address = from; address <= last; ++address) {
        if (address != factory && !recorded.contains(address)) {
            return address;
        }
    }
    return std::nullopt;
}

std::string CalibrationResult(const Answer& answer)
{
    if (!Valid(answer)) {
        return answer.echoed && !answer.frame ? N_("no answer") : AnswerText(answer);
    }
    const unsigned value = CalibrationValue(*answer.frame);
    if (value == 0) {
        return N_("calibrated");
    }
    char text[32];
    std::snprintf(text, sizeof text, "rope dry (value 0x%04X)", value);
    return text;
}

}  // namespace tarnel::tool
