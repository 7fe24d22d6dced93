#pragma once

#include <array>
#include <cstdint>

// The facts of the controller's protocol, each written once.
namespace tarnel::link {

// Function codes.
constexpr std::uint8_t kReadInputRegisters = 0x04;
constexpr std::uint8_t kWriteRegister = 0x06;
// Set in the function code of a reply that refuses the request.
constexpr std::uint8_t kExceptionBit = 0x80;

// Registers: any answer to a read of the status register means a
// controller is there; a read of the calibration register zero-calibrates
// rope A and answers 0 on success; the address register takes a new address.
constexpr std::uint16_t kStatusRegister = 0x4002;
constexpr std::uint16_t kZeroCalibrationRegister = 0x4008;
constexpr std::uint16_t kAddressRegister = 0x8001;

// Bus addresses.
constexpr std::uint32_t kFirstAddress = 0;
constexpr std::uint32_t kLastAddress = 255;

// The line speeds the controllers use, as the operator's list names them;
// the list index selects one.
struct BaudRate {
    std::uint32_t rate;
    const char* label;
};
constexpr std::array<BaudRate, 5> kBaudRates{{
    {1200, "1200.n.8.1"},
    {2400, "2400.n.8.1"},
    {4800, "4800.n.8.1"},
    {9600, "9600.n.8.1"},
    {19200, "19200.n.8.1"},
}};

// The list's indexes with the common speeds first: the order to try them all in.
constexpr std::array<int, kBaudRates.size()> kCommonSpeedsFirst{3, 4, 2, 1, 0};

// The rate of the list's `index`th speed.
constexpr std::uint32_t RateAt(int index)
{
    return kBaudRates[static_cast<std::size_t>(index)].rate;
}

}  // namespace tarnel::link
