// Run under Wine: what the Win32 serial backend makes of things a Linux
// pseudo-terminal cannot show: error codes Wine never produces there (it
// neither enforces exclusive opens nor removes devices), and the data bits
// and parity it writes into a port's DCB (a pseudo-terminal reports 8N
// whatever it is told). Exits 1 on any mismatch.

#include "platform/dcb_settings.h"
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
    using tarnel::platform::LineSettings;
    for (const LineSettings& settings : {LineSettings{9600, 8, false, false, false, true},
                                         LineSettings{19200, 7, true, true, true, false}}) {
        DCB dcb{};
        dcb.BaudRate = 4800;
        tarnel::platform::WriteDcb(settings, dcb);
        if (tarnel::platform::ReadDcb(dcb) != settings || dcb.Parity != (settings.parity ? EVENPARITY : NOPARITY)) {
            std::printf("FAIL: %u data bits written wrongly into a DCB\n", unsigned{settings.dataBits});
            ++failures;
        }
    }
    std::printf("%d mismatches\n", failures);
    return failures == 0 ? 0 : 1;
}
