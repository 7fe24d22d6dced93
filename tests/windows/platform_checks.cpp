// Run under Wine: how the Win32 serial backend reads the system's error
// codes, which Wine cannot produce on a pseudo-terminal (it neither
// enforces exclusive opens nor removes devices). Exits 1 on any mismatch.

#include "platform/serial_line.h"

#include <cstdio>
#include <windows.h>

int main()
{
    using enum tarnel::platform::OpenProblem;
    // What an open failing with the code means, and whether a queue query
    // or write failing with it means the device is gone.
    const struct {
        DWORD code;
        tarnel::platform::OpenProblem problem;
        bool gone;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, NoSuchDevice, true},  {ERROR_PATH_NOT_FOUND, NoSuchDevice, false},
        {ERROR_ACCESS_DENIED, InUse, true},           {ERROR_SHARING_VIOLATION, InUse, false},
        {ERROR_GEN_FAILURE, Other, true},             {ERROR_BAD_COMMAND, Other, true},
        {ERROR_DEVICE_NOT_CONNECTED, Other, true},    {ERROR_OPERATION_ABORTED, Other, true},
        {ERROR_INVALID_PARAMETER, Other, false},      {ERROR_IO_PENDING, Other, false},
        {ERROR_TIMEOUT, Other, false},
    };
    int failures = 0;
    for (const auto& c : cases) {
        const std::error_code error(static_cast<int>(c.code), std::system_category());
        if (tarnel::platform::ProblemOf(error) != c.problem || tarnel::platform::MeansDeviceGone(error) != c.gone) {
            std::printf("FAIL: error %lu read wrongly\n", c.code);
            ++failures;
        }
    }
    std::printf("%d mismatches\n", failures);
    return failures == 0 ? 0 : 1;
}
