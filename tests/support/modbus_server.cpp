#include "modbus_server.h"

#include <cerrno>
#include <modbus/modbus.h>
#include <stdexcept>

namespace tarnel::test {
namespace {

constexpr int kRegisterBase = 0x4000;
constexpr int kRegisterCount = 0x10;
constexpr int kAddressRegister = 0x8001;

}  // namespace

ModbusServer::ModbusServer(int masterFd, int address, std::uint16_t zeroCalibrationValue)
{
    // The device name is never opened: the server talks on the master fd.
    context_ = modbus_new_rtu("/dev/null", 9600, 'N', 8, 1);
    mapping_ = modbus_mapping_new_start_address(0, 0, 0, 0, kAddressRegister, 1, kRegisterBase, kRegisterCount);
    if (!context_ || !mapping_) {
        throw std::runtime_error("libmodbus set-up failed");
    }
    mapping_->tab_input_registers[0x4008 - kRegisterBase] = zeroCalibrationValue;
    modbus_set_slave(context_, address);
    modbus_set_socket(context_, masterFd);
    modbus_set_indication_timeout(context_, 0, 50'000);
    // After a refused request, drop whatever is left of it within 50 ms.
    modbus_set_error_recovery(context_, MODBUS_ERROR_RECOVERY_PROTOCOL);
    modbus_set_response_timeout(context_, 0, 50'000);
    thread_ = std::thread([this] { Serve(); });
}

ModbusServer::~ModbusServer()
{
    stop_ = true;
    thread_.join();
    modbus_mapping_free(mapping_);
    modbus_free(context_);
}

std::uint16_t ModbusServer::AddressRegister() const
{
    return mapping_->tab_registers[0];
}

void ModbusServer::Serve()
{
    std::uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    while (!stop_) {
        const int length = modbus_receive(context_, request);
        if (length > 0) {
            modbus_reply(context_, request, length, mapping_);
        } else if (length < 0 && errno != ETIMEDOUT) {
            ++rejected_;
        }
    }
}

}  // namespace tarnel::test
