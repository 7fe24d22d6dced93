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

}  // namespace
}  // namespace tarnel::platform
