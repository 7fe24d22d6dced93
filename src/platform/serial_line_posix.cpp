#include "platform/serial_line.h"

#include "platform/clock.h"
#include "platform/last_error.h"
#include "platform/port_list.h"
#include "platform/termios_settings.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tarnel::platform {
namespace {

int Fd(std::intptr_t handle)
{
    return static_cast<int>(handle);
}

// Milliseconds left until `deadline` on the tick clock, 0 once it has passed.
int Remaining(std::uint32_t start, std::uint32_t budget)
{
    const std::uint32_t elapsed = TickCount() - start;
    return elapsed >= budget ? 0 : static_cast<int>(budget - elapsed);
}

bool WaitFor(int fd, short events, int timeoutMs)
{
    pollfd request{fd, events, 0};
    int ready;
    do {
        ready = ::poll(&request, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return ready > 0 && (request.revents & events) != 0;
}

}  // namespace

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

OpenProblem ProblemOf(std::error_code openError)
{
    const std::error_condition condition = openError.default_error_condition();
    if (condition == std::errc::no_such_file_or_directory || condition == std::errc::no_such_device ||
        condition == std::errc::no_such_device_or_address) {
        return OpenProblem::NoSuchDevice;
    }
    if (condition == std::errc::device_or_resource_busy) {
        return OpenProblem::InUse;
    }
    if (condition == std::errc::permission_denied || condition == std::errc::operation_not_permitted) {
        return OpenProblem::NoPermission;
    }
    return OpenProblem::Other;
}

bool MeansDeviceGone(std::error_code error)
{
    // A tty whose line hung up, or whose USB adapter was pulled, answers
    // every further call with EIO; a vanished device node with ENXIO/ENODEV.
    const std::error_condition condition = error.default_error_condition();
    return condition == std::errc::io_error || condition == std::errc::no_such_device_or_address ||
           condition == std::errc::no_such_device;
}

SerialLine SerialLine::OpenDevice(const std::string& device, OpenFailure* failure)
{
    if (failure) {
        *failure = {device, {}};
    }
    const auto fail = [failure](int error) {
        if (failure) {
            failure->error = {error, std::generic_category()};
        }
        return SerialLine{};
    };
    // Non-blocking, so that neither the open nor any later call waits for a
    // carrier; every wait is bounded by poll instead.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(errno);
    }
    // Two locks: flock keeps out every program that honours serial locks,
    // TIOCEXCL makes the kernel refuse further opens of the tty.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return fail(error);
    }
    return SerialLine(fd, device);
}

bool SerialLine::ReadSettings(LineSettings& settings) const
{
    termios tio{};
    if (!IsOpen() || ::tcgetattr(Fd(handle_), &tio) != 0) {
        return false;
    }
    settings = ReadTermios(tio);
    return true;
}

bool SerialLine::WriteSettings(const LineSettings& settings)
{
    if (!IsOpen()) {
        return false;
    }
    termios tio{};
    if (::tcgetattr(Fd(handle_), &tio) != 0) {
        tio = termios{};
    }
    if (!WriteTermios(settings, tio)) {
        errno = EINVAL;
        return false;
    }
    return ::tcsetattr(Fd(handle_), TCSANOW, &tio) == 0;
}

bool SerialLine::SetTimeouts(const Timeouts& timeouts)
{
    timeouts_ = timeouts;
    return IsOpen();
}

void SerialLine::Purge()
{
    if (IsOpen()) {
        ::tcflush(Fd(handle_), TCIOFLUSH);
    }
}

bool SerialLine::ClearErrors(std::uint32_t& queuedBytes)
{
    int queued = 0;
    queuedBytes = 0;
    if (!IsOpen()) {
        return false;
    }
    if (::ioctl(Fd(handle_), TIOCINQ, &queued) != 0) {
        NoteFailure(LastError());
        return false;
    }
    queuedBytes = static_cast<std::uint32_t>(queued);
    return true;
}

std::size_t SerialLine::Write(std::span<const std::uint8_t> bytes)
{
    if (!IsOpen()) {
        return 0;
    }
    const int fd = Fd(handle_);
    const std::uint32_t start = TickCount();
    const std::uint32_t budget =
        timeouts_.writeTotalMultiplier * static_cast<std::uint32_t>(bytes.size()) + timeouts_.writeTotalConstant;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n > 0) {
            written += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            NoteFailure(LastError());
            return written;
        }
        if (!WaitFor(fd, POLLOUT, Remaining(start, budget))) {
            return written;
        }
    }
    // Like a synchronous serial write, return once the frame has left the
    // output queue, so the wait for the answer starts after it.
    int pending = 0;
    while (::ioctl(fd, TIOCOUTQ, &pending) == 0 && pending > 0 && Remaining(start, budget) > 0) {
        Pause(1);
    }
    return written;
}

std::size_t SerialLine::Read(std::span<std::uint8_t> buffer)
{
    if (!IsOpen()) {
        return 0;
    }
    const int fd = Fd(handle_);
    const std::uint32_t start = TickCount();
    const std::uint32_t budget =
        timeouts_.readTotalMultiplier * static_cast<std::uint32_t>(buffer.size()) + timeouts_.readTotalConstant;
    std::uint32_t lastByte = start;
    std::size_t got = 0;
    while (got < buffer.size()) {
        int wait = Remaining(start, budget);
        if (got > 0) {
            wait = std::min(wait, Remaining(lastByte, timeouts_.readInterval + 1));
        }
        if (wait == 0 || !WaitFor(fd, POLLIN, wait)) {
            break;
        }
        const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            lastByte = TickCount();
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            break;  // the device went away
        }
    }
    return got;
}

void SerialLine::Close()
{
    if (IsOpen()) {
        ::ioctl(Fd(handle_), TIOCNXCL);
        ::close(Fd(handle_));
        handle_ = kNone;
    }
}

}  // namespace tarnel::platform
