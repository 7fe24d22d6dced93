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
class ControllerBus {
public:
    explicit ControllerBus(std::vector<Controller> controllers);

    // `request` is a complete frame with a valid check, heard at `lineBaud`.
    // `note` receives what happened beyond the reply itself (an address
    // change), or stays empty.
    std::optional<Reply> Handle(std::span<const std::uint8_t> request, unsigned lineBaud, std::string& note);

private:
    std::vector<Controller> controllers_;
};

}  // namespace tarnel::sim
