#include "platform/port_order.h"

#include <gtest/gtest.h>

namespace tarnel::platform {
namespace {

using Names = std::vector<std::string>;

TEST(PortOrder, UsbAdaptersThenAcmThenTheUartsThatAreThere)
{
    const auto present = [](const std::string& name) { return name == "ttyS0" || name == "ttyS4"; };
    const struct {
        Names dev;
        Names ports;
    } cases[] = {
        {{"ttyS1", "ttyS0", "ttyACM0", "ttyUSB1", "ttyUSB0"}, {"ttyUSB0", "ttyUSB1", "ttyACM0", "ttyS0"}},
        {{"ttyUSB10", "ttyUSB2", "ttyACM1", "ttyACM0"}, {"ttyUSB2", "ttyUSB10", "ttyACM0", "ttyACM1"}},
        {{"ttyS4", "ttyS10", "ttyS0"}, {"ttyS0", "ttyS4"}},
        {{"tty1", "ttyUSB", "ttyUSBx1", "ttyAMA0", "console", "ttyS", "pts", "ttyUSB99999999999"}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PortOrder(c.dev, present), c.ports) << ::testing::PrintToString(c.dev);
    }
}

}  // namespace
}  // namespace tarnel::platform
