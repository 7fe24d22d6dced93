#include "bus_line.h"

#include "link/protocol.h"
#include "messages/messages.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace tarnel::sim {
namespace {

speed_t SpeedConstant(unsigned baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 19200: return B19200;
    default: return B9600;
    }
}

bool MakeRaw(int fd, unsigned baud)
{
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    ::cfsetspeed(&tio, SpeedConstant(baud));
    return ::tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

unsigned LineBaud(int fd)
{
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        return 0;
    }
    for (const link::BaudRate& baud : link::kBaudRates) {
        if (SpeedConstant(baud.rate) == ::cfgetospeed(&tio)) {
            return baud.rate;
        }
    }
    return 0;
}

BusLine OpenBusLine(const std::string& device, unsigned baud, std::string& error)
{
    BusLine line;
    if (device.empty()) {
        char name[256] = {};
        if (::openpty(&line.fd, &line.keepOpen, name, nullptr, nullptr) != 0) {
            const int reason = errno;
            error = messages::Format(messages::Tr("cannot make a pseudo-terminal: %s"), std::strerror(reason));
            return {};
        }
        MakeRaw(line.keepOpen, baud);
        line.peerPath = name;
        return line;
    }
    line.fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.fd < 0 || !MakeRaw(line.fd, baud)) {
        error = device + ": " + std::strerror(errno);
        if (line.fd >= 0) {
            ::close(line.fd);
        }
        return {};
    }
    line.peerPath = device;
    return line;
}

}  // namespace tarnel::sim
