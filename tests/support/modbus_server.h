#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

typedef struct _modbus modbus_t;
typedef struct _modbus_mapping_t modbus_mapping_t;

namespace tarnel::test {

// A libmodbus RTU server (a third-party Modbus implementation, not ours)
// answering on the master side of a pseudo-terminal, in a thread of its own.
// Its input registers 0x4002 and 0x4008 and holding register 0x8001 exist.
class ModbusServer {
public:
    ModbusServer(int masterFd, int address, std::uint16_t zeroCalibrationValue);
    ~ModbusServer();
    ModbusServer(const ModbusServer&) = delete;
    ModbusServer& operator=(const ModbusServer&) = delete;

    // Requests it received that libmodbus refused (bad check, wrong length).
    int RejectedRequests() const { return rejected_; }
    std::uint16_t AddressRegister() const;

private:
    void Serve();

    modbus_t* context_ = nullptr;
    modbus_mapping_t* mapping_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<int> rejected_{0};
    std::thread thread_;
};

}  // namespace tarnel::test
