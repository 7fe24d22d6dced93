#include "site/commissioning.h"

#include "link/frames.h"
#include "site/answers.h"
#include "site/calibration.h"
#include "site/numbering.h"

#include <algorithm>

namespace tarnel::site {
namespace {

// The factory address is probed about this often while waiting, and each
// probe waits this long: a controller answers in a few milliseconds.
constexpr std::uint32_t kPollMs = 200;
// Garbled answers at the factory address this many times in a row: more
// than one controller is connected.
constexpr int kGarbledInARow = 3;
// Silent probes in a row that show a failed controller was disconnected.
constexpr int kSilentInARow = 3;

}  // namespace

Commissioning::Commissioning(Bus& bus, const CommissionPlan& plan, Record& record, const WallClock& clock,
                             CommissioningView& view)
    : bus_(bus),
      plan_(plan),
      record_(record),
      clock_(clock),
      view_(view),
      rule_(plan.listenMs, plan.force),
      recorded_(RecordedAddresses(record.Rows())),
      next_(NumberingStart(plan.first, plan.last, recorded_))
{
}

void Commissioning::Tick()
{
    // A controller under way is finished and recorded first, whatever stopped the bus.
    const bool underWay = state_ == State::Moving || state_ == State::CheckingFactory ||
                          state_ == State::AwaitingRope || state_ == State::Calibrating;
    if (Finished() || (!underWay && rule_.Holds(bus_))) {
        return;
    }
    if (rule_.GaveUp()) {
        End(CommissionEnd::Reason::OtherMaster);
        return;
    }
    switch (state_) {
    case State::Choosing: Choose(); break;
    case State::AwaitingController: AwaitController(); break;
    case State::Moving: Move(); break;
    case State::CheckingFactory: CheckFactory(); break;
    case State::AwaitingRope:
        // Listened through, so that a stop or a lost adapter ends the wait.
        bus_.Listen(kSliceMs);
        bus_.TakeOthers();
        if (bus_.Stopped()) {
            Write();
        }
        break;
    case State::Calibrating: Calibrate(); break;
    case State::AwaitingDisconnection: AwaitDisconnection(); break;
    case State::Finished: break;
    }
}

// The next free address, passing over those where something answers already.
void Commissioning::Choose()
{
    if (!request_) {
        const auto candidate = NextFreeAddress(next_, plan_.last, plan_.factory, recorded_);
        if (!candidate) {
            End(CommissionEnd::Reason::NoFreeAddress);
            return;
        }
        candidate_ = *candidate;
        view_.Stepped(CommissionStep::Choosing, candidate_, tally_.Done());
        request_.emplace(link::ProbeFrame(candidate_), plan_.timeoutMs);
    }
    if (!request_->Tick(bus_)) {
        return;
    }
    const bool taken = request_->Result().frame.has_value();
    request_.reset();
    if (Halted()) {
        return;
    }
    if (taken) {
        view_.Skipped(candidate_);
        next_ = candidate_ + 1;
        return;
    }
    BeginAwaitingController();
}

void Commissioning::BeginAwaitingController()
{
    state_ = State::AwaitingController;
    inARow_ = 0;
    pausing_ = false;
    view_.Stepped(CommissionStep::AwaitingController, plan_.factory, tally_.Done());
}

// Probes the factory address until one controller answers there.
void Commissioning::AwaitController()
{
    if (pausing_) {
        pausing_ = !pause_.Tick(bus_);
        if (!pausing_) {
            bus_.TakeOthers();
        }
        return;
    }
    if (!ReadyToAsk(bus_)) {
        return;
    }
    polledAt_ = bus_.Line().Now();
    const Answer answer = bus_.Ask(link::ProbeFrame(plan_.factory), kPollMs);
    if (Halted()) {
        return;
    }
    if (Valid(answer)) {
        inProgress_ = candidate_;
        row_ = RecordRow{{}, candidate_, plan_.baud, plan_.factory, {}, {}, std::nullopt};
        move_.emplace(MovePlan{plan_.factory, candidate_, true, kSettleMs, plan_.timeoutMs});
        state_ = State::Moving;
        view_.Stepped(CommissionStep::Moving, candidate_, tally_.Done());
        return;
    }
    const bool garbled = answer.frame && !Refusal(*answer.frame);
    inARow_ = garbled ? inARow_ + 1 : 0;
    if (inARow_ == kGarbledInARow) {
        view_.SeveralAtFactory(plan_.factory);
    }
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(bus_.Line().Now() - polledAt_);
    pause_.Start(bus_, static_cast<std::uint32_t>(std::max<std::int64_t>(0, kPollMs - waited.count())));
    pausing_ = true;
}

void Commissioning::Move()
{
    if (!move_->Tick(bus_)) {
        return;
    }
    if (const auto step = move_->FailedStep()) {
        const Answer& answer = *step == MoveStep::SetAddress ? move_->Acknowledgement() : *move_->Verification();
        row_.outcome = bus_.Stopped() ? Interruption() : Outcome{Outcome::Kind::StepFailed, *step, *FailureOf(answer)};
        Write();
        return;
    }
    row_.responseMs = move_->Verification()->frame->afterMs;
    state_ = State::CheckingFactory;
}

// After the move nothing may answer at the factory address any more.
void Commissioning::CheckFactory()
{
    if (!ReadyToAsk(bus_)) {
        return;
    }
    const Answer left = bus_.Ask(link::ProbeFrame(plan_.factory), kPollMs);
    bus_.TakeOthers();
    if (left.frame) {
        view_.SecondAtFactory(plan_.factory);
        row_.outcome = {Outcome::Kind::SecondAtFactory};
    } else if (bus_.Stopped()) {
        row_.outcome = Interruption();
    } else if (plan_.calibrate) {
        row_.calibration = {Calibration::Kind::Skipped};
        state_ = State::AwaitingRope;
        view_.Stepped(CommissionStep::AwaitingRope, row_.address, tally_.Done());
        return;
    }
    Write();
}

void Commissioning::RopeInWater()
{
    if (AwaitingRope()) {
        request_.emplace(link::ZeroCalibrationFrame(row_.address), plan_.timeoutMs);
        state_ = State::Calibrating;
        view_.Stepped(CommissionStep::Calibrating, row_.address, tally_.Done());
    }
}

void Commissioning::SkipCalibration()
{
    if (AwaitingRope()) {
        Write();
    }
}

void Commissioning::Calibrate()
{
    if (!request_->Tick(bus_)) {
        return;
    }
    row_.calibration = JudgeCalibration(request_->Result());
    request_.reset();
    if (row_.calibration.kind == Calibration::Kind::RopeDry && !bus_.Stopped()) {
        state_ = State::AwaitingRope;
        view_.RopeDry(row_.address, row_.calibration.value);
        return;
    }
    Write();
}

void Commissioning::Write()
{
    row_.time = clock_.Now();
    if (const std::error_code error = record_.Append(row_)) {
        view_.NotRecorded(row_, error);
        End(CommissionEnd::Reason::RecordUnwritable, error);
        return;
    }
    recorded_.insert(row_.address);
    next_ = row_.address + 1;
    const bool moved = row_.outcome.kind == Outcome::Kind::Moved;
    (moved ? tally_.moved : tally_.failed) += 1;
    if (!moved || (plan_.calibrate && row_.calibration.kind != Calibration::Kind::Calibrated)) {
        ++tally_.unfinished;
    }
    state_ = State::Choosing;
    view_.Recorded(row_);
    if (Halted()) {
        return;
    }
    inProgress_.reset();
    if (plan_.count != 0 && tally_.Done() == plan_.count) {
        End(CommissionEnd::Reason::CountReached);
    } else if (!moved) {
        state_ = State::AwaitingDisconnection;
        inARow_ = 0;
        view_.Stepped(CommissionStep::AwaitingDisconnection, plan_.factory, tally_.Done());
    }
}

// After a failed move: waits until nothing answers at the factory address.
void Commissioning::AwaitDisconnection()
{
    if (!ReadyToAsk(bus_)) {
        return;
    }
    const Answer answer = bus_.Ask(link::ProbeFrame(plan_.factory), kPollMs);
    bus_.TakeOthers();
    if (Halted()) {
        return;
    }
    inARow_ = answer.frame ? 0 : inARow_ + 1;
    if (inARow_ == kSilentInARow) {
        state_ = State::Choosing;
    }
}

Outcome Commissioning::Interruption() const
{
    if (bus_.Line().Lost()) {
        return {Outcome::Kind::AdapterLost};
    }
    return {bus_.Line().StopRequested() ? Outcome::Kind::Stopped : Outcome::Kind::OtherMaster};
}

bool Commissioning::Halted()
{
    if (bus_.Interrupted()) {
        End(bus_.Line().Lost() ? CommissionEnd::Reason::AdapterLost : CommissionEnd::Reason::Stopped,
            bus_.Line().Lost());
    }
    return bus_.Stopped();
}

void Commissioning::End(CommissionEnd::Reason reason, std::error_code error)
{
    state_ = State::Finished;
    view_.Ended({reason, tally_, error, inProgress_, bus_.OtherMasterHeard()});
}

}  // namespace tarnel::site
