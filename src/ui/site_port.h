#pragma once

#include "link/line.h"
#include "link/port_line.h"
#include "platform/serial_line.h"

#include <optional>

// The port the operator window has open, as its site dialogs use it: a line
// a click on 停止 stops, and its speed, which the doctor changes and puts back.
class SitePort {
public:
    virtual ~SitePort() = default;

    // The line at the port's speed now, stopped by `stop` as well.
    virtual tarnel::link::Line& Line(const tarnel::link::StopSource& stop) = 0;

    // The list's index of the port's speed; none when it is not one of the list's.
    virtual std::optional<int> BaudIndex() const = 0;

    // Switches to the list's `baudIndex`th speed; false when the port refuses.
    virtual bool SetSpeed(int baudIndex) = 0;
};

// A click on 停止, or the dialog closing, as the stop of a site dialog's work.
class StopFlag : public tarnel::link::StopSource {
public:
    void Request() { m_requested = true; }
    void Clear() { m_requested = false; }
    bool StopRequested() const override { return m_requested; }

private:
    bool m_requested = false;
};

// The window's serial port.
class WindowPort : public SitePort {
public:
    explicit WindowPort(tarnel::platform::SerialLine& port) : m_port(port) {}

    tarnel::link::Line& Line(const tarnel::link::StopSource& stop) override;
    std::optional<int> BaudIndex() const override;
    bool SetSpeed(int baudIndex) override;

private:
    tarnel::platform::SerialLine& m_port;
    std::optional<tarnel::link::PortLine> m_line;
};
