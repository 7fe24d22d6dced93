#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <system_error>
#include <utility>

namespace tarnel::platform {

// The fields of a port's settings that the link reads and writes. Whatever
// else the system keeps for the port (flow control, modem lines) is left as
// the port reported it.
struct LineSettings {
    std::uint32_t baudRate = 0;  // 0: a rate the port could not name
    std::uint8_t dataBits = 0;
    bool parity = false;
    bool twoStopBits = false;
    bool parityCheck = false;
    bool abortOnError = false;

    bool operator==(const LineSettings&) const = default;
};

// Bounds on each read and write, in milliseconds. A read of n bytes returns
// when n bytes have arrived, when more than readInterval passes between two
// bytes, or readTotalMultiplier * n + readTotalConstant after it began; a
// write of n bytes gives up after writeTotalMultiplier * n + writeTotalConstant.
struct Timeouts {
    std::uint32_t readInterval = 0;
    std::uint32_t readTotalMultiplier = 0;
    std::uint32_t readTotalConstant = 0;
    std::uint32_t writeTotalMultiplier = 0;
    std::uint32_t writeTotalConstant = 0;
};

// Why an open failed, and which device it tried.
struct OpenFailure {
    std::string device;  // empty when the number names no device
    std::error_code error;
};

// What a failed open's error means for the operator.
enum class OpenProblem { NoSuchDevice, InUse, NoPermission, Other };
OpenProblem ProblemOf(std::error_code openError);

// Exclusive owner of one open serial device, or of none. All calls are
// synchronous; every call on a line that is not open fails harmlessly.
class SerialLine {
public:
    SerialLine() = default;
    SerialLine(SerialLine&& other) noexcept;
    SerialLine& operator=(SerialLine&& other) noexcept;
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    // Opens serial port number `portNumber` for reading and writing,
    // exclusively. Returns a line that is not open when the port is absent or
    // in use. `failure`, when given, names the device tried (also when the
    // open succeeds, for a later step that fails) and, on failure, why.
    static SerialLine Open(unsigned portNumber, OpenFailure* failure = nullptr);

    // The same for a device named by its path (or Windows device name).
    static SerialLine OpenDevice(const std::string& device, OpenFailure* failure = nullptr);

    bool IsOpen() const;

    // The device path or name that was opened.
    const std::string& Device() const { return device_; }

    // Why the device is gone (unplugged adapter, hung-up line), as the last
    // queue query or write found; empty while it is there. Silence, garbage
    // and time-outs never set it.
    std::error_code Lost() const { return lost_; }

    bool ReadSettings(LineSettings& settings) const;
    bool WriteSettings(const LineSettings& settings);
    bool SetTimeouts(const Timeouts& timeouts);

    // Abandons pending reads and writes and empties both queues.
    void Purge();

    // Clears the port's error state so that I/O goes on after a line error,
    // and reports how many bytes wait in the input queue. False when the
    // port cannot be queried.
    bool ClearErrors(std::uint32_t& queuedBytes);

    // Both bounded by the time-outs; they report how many bytes moved.
    std::size_t Write(std::span<const std::uint8_t> bytes);
    std::size_t Read(std::span<std::uint8_t> buffer);

    void Close();

private:
    SerialLine(std::intptr_t handle, std::string device) : handle_(handle), device_(std::move(device)) {}

    // Keeps the last error when it says the device is gone.
    void NoteFailure(std::error_code error);

    // A file descriptor or a HANDLE, whichever the system uses.
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
    std::string device_;
    std::error_code lost_;
    Timeouts timeouts_;
};

// Whether `error`, from a queue query or a write, means that the device has
// gone away rather than that the line is merely quiet or noisy.
bool MeansDeviceGone(std::error_code error);

// Whether a queue query that failed with `first`, and at once again with
// `retry`, shows the device gone: it must, and either the retry says so too
// or the device has left the system's list of ports (`listed` false). Some
// drivers fail one call on a live port after a line error (noise, a wrong
// speed); that alone must not close a working port.
bool ConfirmedGone(std::error_code first, std::error_code retry, bool listed);

}  // namespace tarnel::platform
