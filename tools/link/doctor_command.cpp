#include "doctor_command.h"

#include "console.h"
#include "doctor_report.h"
#include "exit_codes.h"
#include "interrupt.h"
#include "link/port_line.h"
#include "messages/messages.h"
#include "site/bus_sweep.h"
#include "trace.h"

#include <optional>

namespace tarnel::tool {

using messages::Format;
using messages::Tr;

namespace {

// The port opened afresh at each speed.
class PortAtSpeeds : public site::SweepLines {
public:
    PortAtSpeeds(const PortChoice& choice, const link::StopSource& stop) : choice_(choice), stop_(stop) {}

    link::Line* AtSpeed(int baudIndex) override
    {
        line_.reset();
        port_ = choice_.Open(baudIndex);
        if (!port_.IsOpen()) {
            return nullptr;
        }
        return &line_.emplace(port_, &stop_);
    }

    const std::string& Device() const { return port_.Device(); }

private:
    const PortChoice& choice_;
    const link::StopSource& stop_;
    platform::SerialLine port_;
    std::optional<link::PortLine> line_;
};

// Where the sweep is, on standard error; its end kept for the verdict.
class DoctorConsole : public site::SweepView {
public:
    void Listening(std::uint32_t baud, std::uint32_t ms) override
    {
        Report(Format(Tr("listening at %u baud for %u ms"), baud, ms));
    }
    void Probing(std::uint32_t baud, std::uint32_t from, std::uint32_t to) override
    {
        Report(Format(Tr("probing %u..%u at %u baud"), from, to, baud));
    }
    void Probed(std::uint32_t, std::uint32_t, unsigned, unsigned) override {}
    void Ended(const site::SweepEnd& end) override { end_ = end; }

    const site::SweepEnd& End() const { return *end_; }

private:
    std::optional<site::SweepEnd> end_;
};

int Status(const site::SweepEnd& end, const DoctorRequest& request, const std::string& device)
{
    using Reason = site::SweepEnd::Reason;
    switch (end.reason) {
    case Reason::Stopped: Report(Tr("interrupted")); return kInterrupted;
    case Reason::CannotOpen: return kCannotOpen;
    case Reason::AdapterLost:
        // A sweep cut short says nothing of the bus.
        Report("tarnel-link: " + device + ": " + Tr("the device went away"));
        return kCannotOpen;
    case Reason::OtherMaster:
    case Reason::Complete: break;
    }
    request.json ? PrintDiagnosisJson(end) : PrintDiagnosis(end);
    if (end.reason == Reason::OtherMaster) {
        return kOtherMaster;
    }
    const site::Diagnosis& diagnosis = *end.diagnosis;
    return diagnosis.nothingAnswers ? kNotDone : diagnosis.findings.empty() ? kSuccess : kProblemsFound;
}

}  // namespace

int RunDoctor(const DoctorRequest& request)
{
    const InterruptStop stop;
    const Trace trace(request.trace, link::LineClock::now());
    PortAtSpeeds lines(request.port, stop);
    DoctorConsole console;
    site::BusSweep sweep({request.baudIndexes, request.from, request.to, request.timeoutMs, request.listenMs,
                          request.force},
                         lines, console, trace);
    while (!sweep.Finished()) {
        sweep.Tick();
    }
    return Status(console.End(), request, lines.Device());
}

}  // namespace tarnel::tool
