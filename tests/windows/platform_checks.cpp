// Run under Wine: what the Win32 serial backend makes of things a Linux
// pseudo-terminal cannot show: error codes Wine never produces there (it
// neither enforces exclusive opens nor removes devices), and the data bits
// and parity it writes into a port's DCB (a pseudo-terminal reports 8N
// whatever it is told), when a failed queue query closes the port, and a
// write to a record cut short.
// Exits 1 on any mismatch.

#include "platform/dcb_settings.h"
#include "platform/serial_line.h"
#include "platform/file_io_win32.h"

#include <cstdio>
#include <string>
#include <windows.h>

int main()
{
    int failures = 0;
    const auto check = [&failures](bool holds, const std::string& what) {
        if (!holds) {
            std::printf("FAIL: %s\n", what.c_str());
            ++failures;
        }
    };
    using enum tarnel::platform::OpenProblem;
    // What an open failing with the code means, and whether a queue query
    // or write failing with it means the device is gone.
    const struct { DWORD code; tarnel::platform::OpenProblem problem; bool gone; } cases[] = {
        {ERROR_FILE_NOT_FOUND, NoSuchDevice, true},  {ERROR_PATH_NOT_FOUND, NoSuchDevice, false},
        {ERROR_ACCESS_DENIED, InUse, true},           {ERROR_SHARING_VIOLATION, InUse, false},
        {ERROR_GEN_FAILURE, Other, true},             {ERROR_BAD_COMMAND, Other, true},
        {ERROR_DEVICE_NOT_CONNECTED, Other, true},    {ERROR_OPERATION_ABORTED, Other, true},
        {ERROR_NOT_READY, Other, true},
        {ERROR_INVALID_PARAMETER, Other, false},      {ERROR_IO_PENDING, Other, false},
        {ERROR_TIMEOUT, Other, false},
    };
    for (const auto& c : cases) {
        const std::error_code error(static_cast<int>(c.code), std::system_category());
        check(tarnel::platform::ProblemOf(error) == c.problem && tarnel::platform::MeansDeviceGone(error) == c.gone,
              "error " + std::to_string(c.code) + " read wrongly");
    }
    // A failed queue query, its immediate retry (0: it succeeded) and
    // whether the port is still listed: only a confirmed failure closes the port.
    const struct { const char* name; DWORD first, retry; bool listed, gone; } sequences[] = {
        {"live port after a line error", ERROR_OPERATION_ABORTED, 0, true, false},
        {"driver refusing one call", ERROR_GEN_FAILURE, ERROR_INVALID_PARAMETER, true, false},
        {"adapter pulled", ERROR_GEN_FAILURE, ERROR_GEN_FAILURE, false, true},
        {"failing on and on", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, true, true},
        {"unlisted after one failure", ERROR_DEVICE_REMOVED, ERROR_INVALID_HANDLE, false, true},
        {"no device error at all", ERROR_TIMEOUT, ERROR_GEN_FAILURE, false, false},
    };
    const auto code = [](DWORD value) {
        return value ? std::error_code(static_cast<int>(value), std::system_category()) : std::error_code{};
    };
    for (const auto& c : sequences) {
        check(tarnel::platform::ConfirmedGone(code(c.first), code(c.retry), c.listed) == c.gone,
              std::string(c.name) + " judged wrongly");
    }
    using tarnel::platform::LineSettings;
    for (const LineSettings& settings : {LineSettings{9600, 8, false, false, false, true},
                                         LineSettings{19200, 7, true, true, true, false}}) {
        DCB dcb{};
        dcb.BaudRate = 4800;
        tarnel::platform::WriteDcb(settings, dcb);
        check(tarnel::platform::ReadDcb(dcb) == settings && dcb.Parity == (settings.parity ? EVENPARITY : NOPARITY),
              std::to_string(settings.dataBits) + " data bits written wrongly into a DCB");
    }
    // A write of a record's row that the system cut short, though it said it succeeded.
    ::SetLastError(0);
    check(tarnel::platform::WriteResult(TRUE, 3, 5) && !tarnel::platform::WriteResult(TRUE, 5, 5),
          "a short write judged wrongly");
    std::printf("%d mismatches\n", failures);
    return failures == 0 ? 0 : 1;
}
