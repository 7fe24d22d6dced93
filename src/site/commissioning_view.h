#pragma once

#include "site/bus.h"
#include "site/record.h"

#include <cstdint>
#include <optional>
#include <system_error>

namespace tarnel::site {

// Where a commissioning run is.
enum class CommissionStep {
    Choosing,               // probing the next free address: `address`
    AwaitingController,     // a new controller to be connected, answering at `address`
    Moving,                 // to `address`, and verifying it there
    AwaitingRope,           // the rope of `address` to be laid in water
    Calibrating,            // `address`
    AwaitingDisconnection,  // the failed controller, still at `address`, to be disconnected
};

// The controllers done so far.
struct Tally {
    unsigned moved = 0;
    unsigned failed = 0;
    unsigned unfinished = 0;  // failed, or left uncalibrated when asked to calibrate

    unsigned Done() const { return moved + failed; }
};

struct CommissionEnd {
    enum class Reason { CountReached, NoFreeAddress, Stopped, AdapterLost, OtherMaster, RecordUnwritable };
    Reason reason;
    Tally tally;
    std::error_code error;                // why the adapter went away, or the record was not written
    std::optional<std::uint32_t> moving;  // the address being given out when it ended
    std::optional<OtherMaster> master;    // heard on the bus, also when sent over
};

// What a commissioning run tells the front end that shows it.
class CommissioningView {
public:
    virtual ~CommissioningView() = default;

    // `done` controllers are finished so far.
    virtual void Stepped(CommissionStep step, std::uint32_t address, unsigned done) = 0;
    // Something answers at `address`, which the record does not hold: passed over.
    virtual void Skipped(std::uint32_t address) = 0;
    // Garbled answers in a row at the factory address: more than one controller is connected.
    virtual void SeveralAtFactory(std::uint32_t factory) = 0;
    // After a move, something still answers at the factory address.
    virtual void SecondAtFactory(std::uint32_t factory) = 0;
    // The rope read `value`, not in water: it waits for the person again.
    virtual void RopeDry(std::uint32_t address, std::uint16_t value) = 0;
    // The row is on the disk.
    virtual void Recorded(const RecordRow& row) = 0;
    // The row could not be written; the run ends.
    virtual void NotRecorded(const RecordRow& row, std::error_code error) = 0;
    virtual void Ended(const CommissionEnd& end) = 0;
};

}  // namespace tarnel::site
