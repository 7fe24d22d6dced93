#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnel::sim {

// How a simulated controller misbehaves.
enum class Fault { None, Silent, BadCheck, ShortReply };

struct Controller {
    unsigned address = 0;
    bool ropeInWater = false;  // zero calibration succeeds only then
    unsigned delayMs = 0;      // answers this late
    Fault fault = Fault::None;
    unsigned baud = 0;  // answers only at this line speed; 0: at any
};

struct Reply {
    std::vector<std::uint8_t> bytes;
    unsigned delayMs = 0;
};

// Controllers sharing one bus. A request is answered by the controller it
// addresses, as a standard Modbus server would; other controllers stay silent.
// Several controllers at one address, as new ones straight from the factory
// are, all act on the request and answer at once, so their answers collide.
class ControllerBus {
public:
    explicit ControllerBus(std::vector<Controller> controllers);

    // Connects `controller`; returns how many now sit at its address.
    std::size_t Add(const Controller& controller);

    // Disconnects every controller at `address`; returns how many there were.
    std::size_t Remove(unsigned address);

    // `request` is a complete frame with a valid check, heard at `lineBaud`.
    // `note` receives what happened beyond the reply itself (an address
    // change, a collision), or stays empty.
    std::optional<Reply> Handle(std::span<const std::uint8_t> request, unsigned lineBaud, std::string& note);

private:
    std::vector<Controller> controllers_;
};

}  // namespace tarnel::sim
