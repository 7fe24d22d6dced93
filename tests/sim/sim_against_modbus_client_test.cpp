#include "sim_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <modbus/modbus.h>

namespace tarnel::sim {
namespace {

// libmodbus's client, a Modbus implementation nobody here wrote, checks that
// the simulator speaks standard Modbus and that its faulty controllers break it.
TEST(SimAgainstModbusClient, AnswersAsAStandardServerUnlessBuiltToFail)
{
    test::SimProcess sim({"5", "17,wet", "1,bad-crc", "2,short"});
    modbus_t* client = modbus_new_rtu(sim.DevicePath().c_str(), 9600, 'N', 8, 1);
    ASSERT_EQ(modbus_connect(client), 0) << modbus_strerror(errno);
    modbus_set_response_timeout(client, 0, 300'000);
    // The result of reading one input register, and the errno of a failure.
    const auto read = [client](int address, int reg) {
        std::uint16_t value = 0xFFFF;
        modbus_set_slave(client, address);
        return modbus_read_input_registers(client, reg, 1, &value) == 1 ? std::make_pair(int{value}, 0)
                                                                        : std::make_pair(-1, errno);
    };
    EXPECT_EQ(read(5, 0x4002), std::make_pair(0, 0));
    EXPECT_EQ(read(17, 0x4008), std::make_pair(0, 0));
    EXPECT_GT(read(5, 0x4008).first, 0) << "a dry rope does not calibrate";
    EXPECT_EQ(read(5, 0x4003), std::make_pair(-1, EMBXILADD));
    EXPECT_EQ(read(6, 0x4002), std::make_pair(-1, ETIMEDOUT));
    EXPECT_EQ(read(1, 0x4002), std::make_pair(-1, EMBBADCRC));
    EXPECT_EQ(read(2, 0x4002).first, -1);

    modbus_set_slave(client, 5);
    EXPECT_EQ(modbus_write_register(client, 0x8001, 9), 1) << modbus_strerror(errno);
    EXPECT_EQ(read(9, 0x4002), std::make_pair(0, 0));
    modbus_close(client);
    modbus_free(client);
}

}  // namespace
}  // namespace tarnel::sim
