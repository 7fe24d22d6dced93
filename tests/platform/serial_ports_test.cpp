#include "platform/port_order.h"
#include "platform/termios_settings.h"

#include <gtest/gtest.h>

namespace tarnel::platform {
namespace {

TEST(TermiosSettings, WrittenSettingsReadBackOnARawLine)
{
    // A cooked terminal at 38400 baud, 7E2 with hardware flow control.
    termios cooked{};
    cooked.c_iflag = ICRNL | IXON | ISTRIP;
    cooked.c_oflag = OPOST;
    cooked.c_lflag = ECHO | ICANON | ISIG;
    cooked.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS;
    ::cfsetspeed(&cooked, B38400);
    const LineSettings cases[] = {
        {9600, 8, false, false, false, false},
        {19200, 7, true, true, true, false},
        {1200, 5, false, true, false, false},
    };
    for (const LineSettings& settings : cases) {
        termios tio = cooked;
        ASSERT_TRUE(WriteTermios(settings, tio));
        EXPECT_EQ(ReadTermios(tio), settings) << int{settings.dataBits};
        EXPECT_EQ(tio.c_iflag & (ICRNL | IXON | ISTRIP), 0u);
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(tio.c_lflag & (ECHO | ICANON | ISIG), 0u);
        EXPECT_NE(tio.c_cflag & CRTSCTS, 0u);
    }
    termios tio = cooked;
    EXPECT_TRUE(WriteTermios({0, 8}, tio));
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B38400)) << "no rate keeps the speed";
    EXPECT_FALSE(WriteTermios({12345, 8}, tio));
}


using Names = std::vector<std::string>;

TEST(PortOrder, UsbAdaptersThenAcmThenTheUartsThatAreThere)
{
    const auto present = [](const std::string& name) { return name == "ttyS0" || name == "ttyS4"; };
    const struct { Names dev; Names ports; } cases[] = {
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
