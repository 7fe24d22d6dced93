#include "sim_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <modbus/modbus.h>

namespace tarnel::sim {
namespace {

// libmodbus's client side checks that the simulator speaks standard Modbus.
class SimAgainstModbusClient : public ::testing::Test {
protected:
    void Connect(const std::string& device)
    {
        client_ = modbus_new_rtu(device.c_str(), 9600, 'N', 8, 1);
        ASSERT_NE(client_, nullptr);
        ASSERT_EQ(modbus_connect(client_), 0) << modbus_strerror(errno);
        modbus_set_response_timeout(client_, 0, 300'000);
    }

    int ReadInput(int address, int reg, std::uint16_t& value)
    {
        modbus_set_slave(client_, address);
        return modbus_read_input_registers(client_, reg, 1, &value);
    }

    void TearDown() override
    {
        if (client_) {
            modbus_close(client_);
            modbus_free(client_);
        }
    }

    modbus_t* client_ = nullptr;
};

TEST_F(SimAgainstModbusClient, AnswersReadsAndAddressChangesAsAStandardServer)
{
    test::SimProcess sim({"5", "17,wet"});
    Connect(sim.DevicePath());

    std::uint16_t value = 0xFFFF;
    EXPECT_EQ(ReadInput(5, 0x4002, value), 1) << modbus_strerror(errno);
    EXPECT_EQ(ReadInput(17, 0x4008, value), 1) << modbus_strerror(errno);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(ReadInput(5, 0x4008, value), 1) << modbus_strerror(errno);
    EXPECT_NE(value, 0) << "a dry rope does not calibrate";

    EXPECT_EQ(ReadInput(5, 0x4003, value), -1);
    EXPECT_EQ(errno, EMBXILADD);
    EXPECT_EQ(ReadInput(6, 0x4002, value), -1);
    EXPECT_EQ(errno, ETIMEDOUT);

    modbus_set_slave(client_, 5);
    EXPECT_EQ(modbus_write_register(client_, 0x8001, 9), 1) << modbus_strerror(errno);
    EXPECT_EQ(ReadInput(9, 0x4002, value), 1) << modbus_strerror(errno);
}

TEST_F(SimAgainstModbusClient, FaultyControllersBreakTheProtocolVisibly)
{
    test::SimProcess sim({"1,bad-crc", "2,short"});
    Connect(sim.DevicePath());
    std::uint16_t value = 0;
    EXPECT_EQ(ReadInput(1, 0x4002, value), -1);
    EXPECT_EQ(errno, EMBBADCRC);
    EXPECT_EQ(ReadInput(2, 0x4002, value), -1);
}

}  // namespace
}  // namespace tarnel::sim
