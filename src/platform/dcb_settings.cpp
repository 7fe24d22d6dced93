#include "platform/dcb_settings.h"

namespace tarnel::platform {

LineSettings ReadDcb(const DCB& dcb)
{
    LineSettings settings;
    settings.baudRate = dcb.BaudRate;
    settings.dataBits = dcb.ByteSize;
    settings.parity = dcb.Parity != NOPARITY;
    settings.twoStopBits = dcb.StopBits == TWOSTOPBITS;
    settings.parityCheck = dcb.fParity != 0;
    settings.abortOnError = dcb.fAbortOnError != 0;
    return settings;
}

void WriteDcb(const LineSettings& settings, DCB& dcb)
{
    if (settings.baudRate != 0) {
        dcb.BaudRate = settings.baudRate;
    }
    dcb.ByteSize = settings.dataBits;
    dcb.Parity = settings.parity ? EVENPARITY : NOPARITY;
    dcb.StopBits = settings.twoStopBits ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fParity = settings.parityCheck;
    dcb.fAbortOnError = settings.abortOnError;
}

}  // namespace tarnel::platform
