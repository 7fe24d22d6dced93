// Run under Wine: how the Win32 serial backend reads the system's error
// codes, which Wine cannot produce on a pseudo-terminal (it neither
// enforces exclusive opens nor removes devices). Exits 1 on any mismatch.

#include "platform/serial_line.h"

#include <cstdio>
#include <windows.h>

namespace {

using tarnel::platform::OpenProblem;

std::error_code Win32(DWORD code)
{
    return {static_cast<int>(code), std::system_category()};
}

}  // namespace

int main()
{
    struct OpenCase {
        DWORD code;
        OpenProblem problem;
    };
    const OpenCase openCases[] = {
        {ERROR_FILE_NOT_FOUND, OpenProblem::NoSuchDevice},
        {ERROR_PATH_NOT_FOUND, OpenProblem::NoSuchDevice},
        {ERROR_ACCESS_DENIED, OpenProblem::InUse},  // another program holds the port
        {ERROR_SHARING_VIOLATION, OpenProblem::InUse},
        {ERROR_GEN_FAILURE, OpenProblem::Other},
    };
    struct GoneCase {
        DWORD code;
        bool gone;
    };
    const GoneCase goneCases[] = {
        {ERROR_ACCESS_DENIED, true},       {ERROR_BAD_COMMAND, true}, {ERROR_DEVICE_NOT_CONNECTED, true},
        {ERROR_OPERATION_ABORTED, true},   {ERROR_GEN_FAILURE, true}, {ERROR_INVALID_PARAMETER, false},
        {ERROR_IO_PENDING, false},         {ERROR_TIMEOUT, false},
    };
    int failures = 0;
    for (const OpenCase& c : openCases) {
        if (tarnel::platform::ProblemOf(Win32(c.code)) != c.problem) {
            std::printf("FAIL: open error %lu read as the wrong problem\n", c.code);
            ++failures;
        }
    }
    for (const GoneCase& c : goneCases) {
        if (tarnel::platform::MeansDeviceGone(Win32(c.code)) != c.gone) {
            std::printf("FAIL: error %lu %s a vanished device\n", c.code, c.gone ? "not read as" : "read as");
            ++failures;
        }
    }
    std::printf("%d mismatches\n", failures);
    return failures == 0 ? 0 : 1;
}
