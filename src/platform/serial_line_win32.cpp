#include "platform/serial_line.h"

#include "platform/dcb_settings.h"
#include "platform/last_error.h"

#include <windows.h>

namespace tarnel::platform {
namespace {

HANDLE Native(std::intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

// The 2 ms pauses between queue queries must really be about 2 ms, not the
// default 15.6 ms tick: raise the timer resolution for the program's life.
struct TimerResolution {
    TimerResolution() { ::timeBeginPeriod(1); }
    ~TimerResolution() { ::timeEndPeriod(1); }
} const kTimerResolution;

// Whether the system still lists the port, as "\\.\COM7" or "COM7".
bool StillListed(const std::string& device)
{
    const std::string name = device.starts_with("\\\\.\\") ? device.substr(4) : device;
    char target[512];
    return ::QueryDosDeviceA(name.c_str(), target, sizeof target) != 0;
}

}  // namespace

std::error_code LastError()
{
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

OpenProblem ProblemOf(std::error_code openError)
{
    if (openError.category() != std::system_category()) {
        return OpenProblem::Other;
    }
    switch (openError.value()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return OpenProblem::NoSuchDevice;
    // A COM port is opened without sharing: another program holding it
    // makes the open fail with "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return OpenProblem::InUse;
    default:
        return OpenProblem::Other;
    }
}

bool MeansDeviceGone(std::error_code error)
{
    // What the serial calls return once a USB adapter has been pulled, or
    // (Wine, on a line that hung up) a write to a device that is not there.
    if (error.category() != std::system_category()) {
        return false;
    }
    switch (error.value()) {
    case ERROR_NOT_READY:
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_OPERATION_ABORTED:
    case ERROR_GEN_FAILURE:
    case ERROR_FILE_NOT_FOUND:
        return true;
    default:
        return false;
    }
}

SerialLine SerialLine::OpenDevice(const std::string& device, OpenFailure* failure)
{
    if (failure) {
        *failure = {device, {}};
    }
    const HANDLE handle = ::CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (failure) {
            failure->error = LastError();
        }
        return {};
    }
    return SerialLine(reinterpret_cast<std::intptr_t>(handle), device);
}

bool SerialLine::ReadSettings(LineSettings& settings) const
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!IsOpen() || !::GetCommState(Native(handle_), &dcb)) {
        return false;
    }
    settings = ReadDcb(dcb);
    return true;
}

bool SerialLine::WriteSettings(const LineSettings& settings)
{
    if (!IsOpen()) {
        return false;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(Native(handle_), &dcb)) {
        dcb = DCB{};
        dcb.DCBlength = sizeof dcb;
    }
    WriteDcb(settings, dcb);
    return ::SetCommState(Native(handle_), &dcb) != 0;
}

bool SerialLine::SetTimeouts(const Timeouts& timeouts)
{
    timeouts_ = timeouts;
    COMMTIMEOUTS native{timeouts.readInterval, timeouts.readTotalMultiplier, timeouts.readTotalConstant,
                        timeouts.writeTotalMultiplier, timeouts.writeTotalConstant};
    return IsOpen() && ::SetCommTimeouts(Native(handle_), &native) != 0;
}

void SerialLine::Purge()
{
    if (IsOpen()) {
        ::PurgeComm(Native(handle_), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    }
}

bool SerialLine::ClearErrors(std::uint32_t& queuedBytes)
{
    DWORD errors = 0;
    COMSTAT status{};
    queuedBytes = 0;
    if (!IsOpen()) {
        return false;
    }
    const auto query = [&] {
        return ::ClearCommError(Native(handle_), &errors, &status) ? std::error_code{} : LastError();
    };
    if (const std::error_code first = query()) {
        // One failure may follow a line error on a live port: ask again.
        if (const std::error_code retry = query()) {
            if (ConfirmedGone(first, retry, StillListed(device_))) {
                lost_ = first;
            }
            return false;
        }
    }
    queuedBytes = status.cbInQue;
    return true;
}

std::size_t SerialLine::Write(std::span<const std::uint8_t> bytes)
{
    DWORD written = 0;
    if (IsOpen() && !::WriteFile(Native(handle_), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        // With abort-on-error a line error cuts the next write short until a
        // queue query clears it: that says nothing about the device.
        if (const std::error_code error = LastError(); error.value() != ERROR_OPERATION_ABORTED) {
            NoteFailure(error);
        }
    }
    return written;
}

std::size_t SerialLine::Read(std::span<std::uint8_t> buffer)
{
    DWORD got = 0;
    if (IsOpen()) {
        ::ReadFile(Native(handle_), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
    }
    return got;
}

void SerialLine::Close()
{
    if (IsOpen()) {
        ::CloseHandle(Native(handle_));
        handle_ = kNone;
    }
}

}  // namespace tarnel::platform
