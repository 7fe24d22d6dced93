#include "link/device_commands.h"
#include "modbus_server.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tarnel::link {
namespace {

// The commands against libmodbus, a Modbus implementation nobody here wrote.
class ModbusPeerTest : public ::testing::Test {
protected:
    test::PseudoTerminal pty_;
    test::PortsOverride ports_{pty_.SlavePath()};
};

TEST_F(ModbusPeerTest, ZeroCalibrationFollowsTheRegisterValue)
{
    PortHandle port = OpenPort(1, 3);
    ASSERT_TRUE(port.IsOpen());
    {
        test::ModbusServer calibrated(pty_.Master(), 12, 0);
        EXPECT_TRUE(ZeroCalibrate(port, 12));
    }
    test::ModbusServer offset(pty_.Master(), 12, 5);
    EXPECT_FALSE(ZeroCalibrate(port, 12));
}

// The controller's change of address is a 10-byte request under function
// 0x06, where standard Modbus has 8 bytes. A strict server reads the first 8
// as a write with a wrong check and stays silent; the command then reports
// failure, and the bus carries on.
TEST_F(ModbusPeerTest, AStrictServerRefusesTheLongSetAddressFormAndTheBusCarriesOn)
{
    PortHandle port = OpenPort(1, 3);
    ASSERT_TRUE(port.IsOpen());
    test::ModbusServer server(pty_.Master(), 12, 0);
    EXPECT_FALSE(SetDeviceAddress(port, 12, 20));
    EXPECT_EQ(server.RejectedRequests(), 1);
    EXPECT_EQ(server.AddressRegister(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(ProbeAddress(port, 12, 250));
}

}  // namespace
}  // namespace tarnel::link
