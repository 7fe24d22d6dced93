#include "site/record.h"

#include "link/protocol.h"
#include "site/decimal.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace tarnel::site {
namespace {

constexpr std::size_t kFields = 7;

std::string FailureWords(const AnswerFailure& failure)
{
    switch (failure.kind) {
    case Failure::EchoOnly: return "echo only";
    case Failure::Corrupt: return "corrupt answer";
    case Failure::Short: return "short answer";
    case Failure::Refused: return "refused (exception " + std::to_string(failure.exception) + ")";
    case Failure::NoAnswer: break;
    }
    return "no answer";
}

std::string StepName(MoveStep step)
{
    return step == MoveStep::SetAddress ? "set-address: " : "verify: ";
}

std::string OutcomeWords(const Outcome& outcome, std::uint32_t from)
{
    switch (outcome.kind) {
    case Outcome::Kind::Moved: return "moved";
    case Outcome::Kind::StepFailed:
        return StepName(outcome.step) + FailureWords(outcome.failure);
    case Outcome::Kind::SecondAtFactory: return "another controller still at " + std::to_string(from);
    case Outcome::Kind::AdapterLost: return "adapter lost";
    case Outcome::Kind::Stopped: return "interrupted";
    case Outcome::Kind::OtherMaster: break;
    }
    return "another master";
}

std::string CalibrationWords(const Calibration& calibration)
{
    switch (calibration.kind) {
    case Calibration::Kind::Skipped: return "skipped";
    case Calibration::Kind::Calibrated: return "calibrated";
    case Calibration::Kind::RopeDry: {
        char text[32];
        std::snprintf(text, sizeof text, "rope dry (value 0x%04X)", calibration.value);
        return text;
    }
    case Calibration::Kind::Failed:
        // The record has never told an echo from silence here.
        return calibration.failure.kind == Failure::EchoOnly ? "no answer" : FailureWords(calibration.failure);
    case Calibration::Kind::NotAsked: break;
    }
    return "not asked";
}

std::optional<AnswerFailure> ReadFailure(std::string_view words)
{
    for (const Failure kind : {Failure::NoAnswer, Failure::EchoOnly, Failure::Corrupt, Failure::Short}) {
        if (words == FailureWords({kind})) {
            return AnswerFailure{kind};
        }
    }
    constexpr std::string_view kRefused = "refused (exception ";
    if (!words.starts_with(kRefused) || !words.ends_with(')')) {
        return std::nullopt;
    }
    const auto code = ParseDecimal(words.substr(kRefused.size(), words.size() - kRefused.size() - 1), 0, 255);
    return code ? std::optional(AnswerFailure{Failure::Refused, static_cast<std::uint8_t>(*code)}) : std::nullopt;
}

std::optional<Outcome> ReadOutcome(std::string_view words, std::uint32_t from)
{
    using Kind = Outcome::Kind;
    for (const Kind kind : {Kind::Moved, Kind::SecondAtFactory, Kind::AdapterLost, Kind::Stopped, Kind::OtherMaster}) {
        if (words == OutcomeWords({kind}, from)) {
            return Outcome{kind};
        }
    }
    for (const MoveStep step : {MoveStep::SetAddress, MoveStep::Verify}) {
        const std::string name = StepName(step);
        if (words.starts_with(name)) {
            const auto failure = ReadFailure(words.substr(name.size()));
            return failure ? std::optional(Outcome{Kind::StepFailed, step, *failure}) : std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<Calibration> ReadCalibration(std::string_view words)
{
    using Kind = Calibration::Kind;
    for (const Kind kind : {Kind::NotAsked, Kind::Skipped, Kind::Calibrated}) {
        if (words == CalibrationWords({kind})) {
            return Calibration{kind};
        }
    }
    // "rope dry (value 0x0001)": the value as it was written, in upper case.
    std::uint16_t value = 0;
    const char* digits = words.data() + 18;
    if (words.size() == 23 && std::from_chars(digits, digits + 4, value, 16).ptr == digits + 4 &&
        words == CalibrationWords({Kind::RopeDry, value})) {
        return Calibration{Kind::RopeDry, value};
    }
    const auto failure = ReadFailure(words);
    if (!failure || failure->kind == Failure::EchoOnly) {
        return std::nullopt;
    }
    return Calibration{Kind::Failed, 0, *failure};
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = line.find(',', start);
        fields.push_back(line.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

std::optional<RecordRow> ReadRow(std::string_view line)
{
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() != kFields) {
        return std::nullopt;
    }
    const auto time = ParseIsoTime(fields[0]);
    const auto address = ParseDecimal(fields[1], link::kFirstAddress, link::kLastAddress);
    const auto baud = ParseDecimal(fields[2], 0, UINT32_MAX);
    const auto from = ParseDecimal(fields[3], link::kFirstAddress, link::kLastAddress);
    const auto response = ParseDecimal(fields[6], 0, UINT32_MAX);
    const bool knownBaud =
        baud && std::ranges::find(link::kBaudRates, *baud, &link::BaudRate::rate) != link::kBaudRates.end();
    if (!time || !address || !knownBaud || !from || (!fields[6].empty() && !response)) {
        return std::nullopt;
    }
    const auto outcome = ReadOutcome(fields[4], *from);
    const auto calibration = ReadCalibration(fields[5]);
    if (!outcome || !calibration) {
        return std::nullopt;
    }
    return RecordRow{*time, *address, *baud, *from, *outcome, *calibration, response};
}

}  // namespace

std::string RecordLine(const RecordRow& row)
{
    return IsoText(row.time) + ',' + std::to_string(row.address) + ',' + std::to_string(row.baud) + ',' +
           std::to_string(row.from) + ',' + OutcomeWords(row.outcome, row.from) + ',' +
           CalibrationWords(row.calibration) + ',' + (row.responseMs ? std::to_string(*row.responseMs) : "") + '\n';
}

std::variant<std::vector<RecordRow>, RecordProblem> ReadRecord(std::string_view text)
{
    std::vector<RecordRow> rows;
    for (std::size_t number = 1; !text.empty(); ++number) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            return RecordProblem{RecordProblem::Kind::CutShort, number};
        }
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        // A spreadsheet that saved it may have ended its lines the Windows way.
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (number == 1) {
            if (line != kRecordHeader) {
                return RecordProblem{RecordProblem::Kind::ForeignHeader, number};
            }
            continue;
        }
        auto row = ReadRow(line);
        if (!row) {
            return RecordProblem{RecordProblem::Kind::NotARow, number};
        }
        rows.push_back(std::move(*row));
    }
    return rows;
}

std::set<std::uint32_t> RecordedAddresses(const std::vector<RecordRow>& rows)
{
    std::set<std::uint32_t> addresses;
    for (const RecordRow& row : rows) {
        addresses.insert(row.address);
    }
    return addresses;
}

Record::Record(std::unique_ptr<platform::AppendFile> file, std::vector<RecordRow> rows)
    : file_(std::move(file)), rows_(std::move(rows))
{
}

std::error_code Record::Append(const RecordRow& row)
{
    const std::error_code error = file_->Append(RecordLine(row));
    if (!error) {
        rows_.push_back(row);
    }
    return error;
}

std::variant<Record, RecordRefusal> OpenRecord(const std::string& path)
{
    std::error_code error;
    auto file = platform::AppendFile::Open(path, error);
    if (!file) {
        const auto kind = platform::HeldElsewhere(error) ? RecordRefusal::Kind::HeldElsewhere
                                                         : RecordRefusal::Kind::CannotOpen;
        return RecordRefusal{kind, error};
    }
    auto read = ReadRecord(file->Contents());
    if (const RecordProblem* problem = std::get_if<RecordProblem>(&read)) {
        return RecordRefusal{RecordRefusal::Kind::NotARecord, {}, *problem};
    }
    if (file->Contents().empty() && (error = file->Append(std::string(kRecordHeader) + '\n'))) {
        return RecordRefusal{RecordRefusal::Kind::CannotWrite, error};
    }
    return Record(std::move(file), std::get<std::vector<RecordRow>>(std::move(read)));
}

}  // namespace tarnel::site
