// What the serial line is on every system; the system calls live in the
// serial_line_<system>.cpp files.

#include "platform/serial_line.h"

#include "platform/port_list.h"

#include <utility>

namespace tarnel::platform {

SerialLine::SerialLine(SerialLine&& other) noexcept
    : handle_(std::exchange(other.handle_, kNone)),
      device_(std::move(other.device_)),
      lost_(std::exchange(other.lost_, {})),
      timeouts_(other.timeouts_)
{
}

SerialLine& SerialLine::operator=(SerialLine&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, kNone);
        device_ = std::move(other.device_);
        lost_ = std::exchange(other.lost_, {});
        timeouts_ = other.timeouts_;
    }
    return *this;
}

SerialLine::~SerialLine()
{
    Close();
}

SerialLine SerialLine::Open(unsigned portNumber, OpenFailure* failure)
{
    if (const auto device = DeviceForPort(portNumber)) {
        return OpenDevice(*device, failure);
    }
    if (failure) {
        *failure = {"", std::make_error_code(std::errc::no_such_device)};
    }
    return {};
}

bool SerialLine::IsOpen() const
{
    return handle_ != kNone;
}

bool ConfirmedGone(std::error_code first, std::error_code retry, bool listed)
{
    return MeansDeviceGone(first) && (MeansDeviceGone(retry) || !listed);
}

void SerialLine::NoteFailure(std::error_code error)
{
    if (MeansDeviceGone(error)) {
        lost_ = error;
    }
}

}  // namespace tarnel::platform
