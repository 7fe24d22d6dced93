#include "controller_bus.h"

#include "link/frame_shapes.h"
#include "link/protocol.h"
#include "messages/messages.h"

#include <algorithm>

namespace tarnel::sim {
namespace {

using namespace link;
using messages::Format;
using messages::Tr;
using messages::TrN;

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

bool AnswersAt(const Controller& controller, std::uint8_t address, unsigned lineBaud)
{
    return controller.address == address && controller.fault != Fault::Silent &&
           (controller.baud == 0 || controller.baud == lineBaud);
}

// One controller's answer to `request`, which it acts on.
std::vector<std::uint8_t> Respond(Controller& controller, std::span<const std::uint8_t> request, std::string& note)
{
    const std::uint8_t address = request[0];
    const std::uint8_t function = request[1];
    const std::uint16_t reg = Word(request, 2);
    std::vector<std::uint8_t> bytes;
    if (function == kReadInputRegisters && Word(request, 4) == 1 && reg == kStatusRegister) {
        bytes = RegisterValue(address, 0);
    } else if (function == kReadInputRegisters && Word(request, 4) == 1 && reg == kZeroCalibrationRegister) {
        bytes = RegisterValue(address, controller.ropeInWater ? 0 : kNotCalibrated);
        note = controller.ropeInWater ? Tr("zero calibration done") : Tr("zero calibration failed: rope is dry");
    } else if (function == kReadInputRegisters) {
        bytes = Exception(address, function, kIllegalDataAddress);
    } else if (function == kWriteRegister && reg == kAddressRegister) {
        // Standard requests carry the value in bytes 4-5; the service tool's
        // longer form carries a count of 1 there and the value after it.
        const std::uint8_t newAddress = request.size() == 10 ? request[7] : request[5];
        bytes = Sealed({address, kWriteRegister, request[2], request[3], 0x00, newAddress});
        controller.address = newAddress;
        note = Format(Tr("controller %u now answers at address %u"), unsigned{address}, unsigned{newAddress});
    } else if (function == kWriteRegister) {
        bytes = Exception(address, function, kIllegalDataAddress);
    } else {
        bytes = Exception(address, function, kIllegalFunction);
    }
    ApplyFault(controller.fault, bytes);
    return bytes;
}

// Two remarks on one reply, one after the other.
std::string Join(const std::string& first, const std::string& second)
{
    // TRANSLATORS: two remarks on one reply of the simulated bus, each a whole phrase.
    return Format(Tr("%s; %s"), first.c_str(), second.c_str());
}

// What the line carries when `later` starts one bit after `line`: a 0 from
// either transmitter pulls the line to 0, and where one of them is not
// sending the line idles at 1.
std::vector<std::uint8_t> Collide(std::vector<std::uint8_t> line, std::span<const std::uint8_t> later)
{
    line.resize(std::max(line.size(), later.size()), 0xFF);
    std::uint8_t carry = 1;  // the idle line before `later` begins
    for (std::size_t i = 0; i < later.size(); ++i) {
        line[i] &= static_cast<std::uint8_t>(later[i] >> 1 | carry << 7);
        carry = later[i] & 1;
    }
    return line;
}

}  // namespace

ControllerBus::ControllerBus(std::vector<Controller> controllers) : controllers_(std::move(controllers)) {}

std::size_t ControllerBus::Add(const Controller& controller)
{
    controllers_.push_back(controller);
    return std::ranges::count(controllers_, controller.address, &Controller::address);
}

std::size_t ControllerBus::Remove(unsigned address)
{
    return std::erase_if(controllers_, [address](const Controller& c) { return c.address == address; });
}

std::optional<Reply> ControllerBus::Handle(std::span<const std::uint8_t> request, unsigned lineBaud,
                                          std::string& note)
{
    note.clear();
    std::optional<Reply> reply;
    unsigned long answers = 0;
    for (Controller& controller : controllers_) {
        if (!AnswersAt(controller, request[0], lineBaud)) {
            continue;
        }
        std::string said;
        const auto bytes = Respond(controller, request, said);
        reply = reply ? Reply{Collide(std::move(reply->bytes), bytes), std::max(reply->delayMs, controller.delayMs)}
                      : Reply{bytes, controller.delayMs};
        if (!said.empty() && note.find(said) == std::string::npos) {
            note = note.empty() ? said : Join(note, said);
        }
        ++answers;
    }
    if (answers > 1) {
        // Now and then the colliding bits happen to carry a sound check (two
        // controllers at 130 moved to 104 do); one more bit goes, so that a
        // collision never passes for an answer.
        if (HasValidCheck(reply->bytes)) {
            reply->bytes.back() ^= 0x01;
        }
        const std::string collision =
            Format(TrN("%lu controller answered together", "%lu controllers answered together", answers), answers);
        note = note.empty() ? collision : Join(collision, note);
    }
    return reply;
}

}  // namespace tarnel::sim
