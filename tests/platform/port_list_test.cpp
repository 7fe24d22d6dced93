#include "platform/port_list.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

namespace tarnel::platform {
namespace {

TEST(PortList, TarnelPortsNumbersTheDevicesInItsOrder)
{
    test::PortsOverride ports("/dev/pts/7::/dev/ttyUSB3:");
    const auto list = ListPorts();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].number, 1u);
    EXPECT_EQ(list[0].device, "/dev/pts/7");
    EXPECT_EQ(list[1].number, 2u);
    EXPECT_EQ(list[1].device, "/dev/ttyUSB3");
    EXPECT_EQ(DeviceForPort(2), "/dev/ttyUSB3");
    EXPECT_EQ(DeviceForPort(0), std::nullopt);
    EXPECT_EQ(DeviceForPort(3), std::nullopt);
}

}  // namespace
}  // namespace tarnel::platform
