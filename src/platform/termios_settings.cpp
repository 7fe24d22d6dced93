#include "platform/termios_settings.h"

#include <array>

namespace tarnel::platform {
namespace {

struct BaudConstant {
    std::uint32_t rate;
    speed_t constant;
};

constexpr std::array kBaudConstants{
    BaudConstant{300, B300},       BaudConstant{600, B600},       BaudConstant{1200, B1200},
    BaudConstant{2400, B2400},     BaudConstant{4800, B4800},     BaudConstant{9600, B9600},
    BaudConstant{19200, B19200},   BaudConstant{38400, B38400},   BaudConstant{57600, B57600},
    BaudConstant{115200, B115200}, BaudConstant{230400, B230400},
};

std::uint32_t RateOf(speed_t constant)
{
    for (const auto& entry : kBaudConstants) {
        if (entry.constant == constant) {
            return entry.rate;
        }
    }
    return 0;
}

const BaudConstant* ConstantFor(std::uint32_t rate)
{
    for (const auto& entry : kBaudConstants) {
        if (entry.rate == rate) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

LineSettings ReadTermios(const termios& tio)
{
    LineSettings settings;
    settings.baudRate = RateOf(::cfgetospeed(&tio));
    switch (tio.c_cflag & CSIZE) {
    case CS5: settings.dataBits = 5; break;
    case CS6: settings.dataBits = 6; break;
    case CS7: settings.dataBits = 7; break;
    default: settings.dataBits = 8; break;
    }
    settings.parity = (tio.c_cflag & PARENB) != 0;
    settings.twoStopBits = (tio.c_cflag & CSTOPB) != 0;
    settings.parityCheck = (tio.c_iflag & INPCK) != 0;
    settings.abortOnError = false;  // a tty has no such mode
    return settings;
}

bool WriteTermios(const LineSettings& settings, termios& tio)
{
    // Raw bytes both ways: frame checks may contain any value, including
    // CR, LF and the XON/XOFF characters.
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;

    tio.c_cflag &= ~CSIZE;
    switch (settings.dataBits) {
    case 5: tio.c_cflag |= CS5; break;
    case 6: tio.c_cflag |= CS6; break;
    case 7: tio.c_cflag |= CS7; break;
    default: tio.c_cflag |= CS8; break;
    }
    tio.c_cflag = settings.parity ? (tio.c_cflag | PARENB) : (tio.c_cflag & ~PARENB);
    tio.c_cflag = settings.twoStopBits ? (tio.c_cflag | CSTOPB) : (tio.c_cflag & ~CSTOPB);
    tio.c_iflag = settings.parityCheck ? (tio.c_iflag | INPCK) : (tio.c_iflag & ~INPCK);

    if (settings.baudRate == 0) {
        return true;
    }
    const BaudConstant* baud = ConstantFor(settings.baudRate);
    return baud && ::cfsetispeed(&tio, baud->constant) == 0 && ::cfsetospeed(&tio, baud->constant) == 0;
}

}  // namespace tarnel::platform
