#include "controller_bus.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"

#include <algorithm>

namespace tarnel::sim {
namespace {

using namespace link;

constexpr std::uint8_t kIllegalFunction = 0x01;
constexpr std::uint8_t kIllegalDataAddress = 0x02;

// A dry rope reads back as this after a calibration attempt.
constexpr std::uint16_t kNotCalibrated = 0x0001;

std::vector<std::uint8_t> RegisterValue(std::uint8_t address, std::uint16_t value)
{
    return Sealed({address, kReadInputRegisters, 2, static_cast<std::uint8_t>(value >> 8),
                   static_cast<std::uint8_t>(value & 0xFF)});
}

std::vector<std::uint8_t> Exception(std::uint8_t address, std::uint8_t function, std::uint8_t code)
{
    return Sealed({address, static_cast<std::uint8_t>(function | kExceptionBit), code});
}

void ApplyFault(Fault fault, std::vector<std::uint8_t>& bytes)
{
    switch (fault) {
    case Fault::BadCheck: bytes.back() ^= 0xFF; break;
    case Fault::ShortReply: bytes.resize(bytes.size() - 2); break;
    case Fault::None:
    case Fault::Silent: break;
    }
}

}  // namespace

ControllerBus::ControllerBus(std::vector<Controller> controllers) : controllers_(std::move(controllers)) {}

std::optional<Reply> ControllerBus::Handle(std::span<const std::uint8_t> request, unsigned lineBaud,
                                          std::string& note)
{
    note.clear();
    const std::uint8_t address = request[0];
    const auto controller =
        std::ranges::find_if(controllers_, [address](const Controller& c) { return c.address == address; });
    if (controller == controllers_.end() || controller->fault == Fault::Silent ||
        (controller->baud != 0 && controller->baud != lineBaud)) {
        return std::nullopt;
    }

    const std::uint8_t function = request[1];
    const std::uint16_t reg = Word(request, 2);
    std::vector<std::uint8_t> bytes;
    if (function == kReadInputRegisters && Word(request, 4) == 1 && reg == kStatusRegister) {
        bytes = RegisterValue(address, 0);
    } else if (function == kReadInputRegisters && Word(request, 4) == 1 && reg == kZeroCalibrationRegister) {
        bytes = RegisterValue(address, controller->ropeInWater ? 0 : kNotCalibrated);
        note = controller->ropeInWater ? "zero calibration done" : "zero calibration failed: rope is dry";
    } else if (function == kReadInputRegisters) {
        bytes = Exception(address, function, kIllegalDataAddress);
    } else if (function == kWriteRegister && reg == kAddressRegister) {
        // Standard requests carry the value in bytes 4-5; the service tool's
        // longer form carries a count of 1 there and the value after it.
        const std::uint8_t newAddress = request.size() == 10 ? request[7] : request[5];
        bytes = Sealed({address, kWriteRegister, request[2], request[3], 0x00, newAddress});
        controller->address = newAddress;
        note = "controller " + std::to_string(address) + " now answers at address " + std::to_string(newAddress);
    } else if (function == kWriteRegister) {
        bytes = Exception(address, function, kIllegalDataAddress);
    } else {
        bytes = Exception(address, function, kIllegalFunction);
    }
    ApplyFault(controller->fault, bytes);
    return Reply{std::move(bytes), controller->delayMs};
}

}  // namespace tarnel::sim
