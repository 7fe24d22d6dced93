#include "pseudo_terminal.h"

#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace tarnel::test {

PseudoTerminal::PseudoTerminal()
{
    int slave = -1;
    char name[256] = {};
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    // The slave is left closed, so the link's open is the first and only one.
    ::close(slave);
    slavePath_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal()
{
    ::close(master_);
}

void PseudoTerminal::Send(const std::vector<std::uint8_t>& bytes) const
{
    if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("write to the pseudo-terminal master failed");
    }
}

std::vector<std::uint8_t> PseudoTerminal::Receive(std::chrono::milliseconds wait, std::size_t atLeast) const
{
    std::vector<std::uint8_t> received;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (received.size() < atLeast && std::chrono::steady_clock::now() < deadline) {
        std::uint8_t buffer[256];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            received.insert(received.end(), buffer, buffer + n);
        } else {
            // Nothing yet, or nobody has the slave open (a hang-up on the master).
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    return received;
}

}  // namespace tarnel::test
