#include "controller_bus.h"
#include "link/frame_shapes.h"
#include "link/frames.h"

#include <gtest/gtest.h>

namespace tarnel::sim {
namespace {

// New controllers all leave the factory at one address.
TEST(ControllerBus, ControllersAtOneAddressAllActAndTheirAnswersCollide)
{
    ControllerBus bus({{.address = 130, .delayMs = 30}, {.address = 130, .ropeInWater = true}});
    std::string note;

    const auto calibrated = bus.Handle(link::ZeroCalibrationFrame(130), 9600, note);
    ASSERT_TRUE(calibrated);
    EXPECT_FALSE(link::HasValidCheck(calibrated->bytes)) << "a wet and a dry rope answer differently";
    EXPECT_EQ(calibrated->delayMs, 30u) << "the later answer ends the collision";

    ControllerBus lone(std::vector<Controller>{{.address = 130}});
    const auto answer = lone.Handle(link::ProbeFrame(130), 9600, note);
    const auto probed = bus.Handle(link::ProbeFrame(130), 9600, note);
    ASSERT_TRUE(answer && probed);
    EXPECT_FALSE(link::HasValidCheck(probed->bytes)) << "identical answers, one bit apart";
    EXPECT_NE(std::vector(probed->bytes.begin(), probed->bytes.end() - 2),
              std::vector(answer->bytes.begin(), answer->bytes.end() - 2)) << "more than the check is garbled";

    // These two answers happen to collide into a sound check.
    const auto moved = bus.Handle(link::SetAddressFrame(130, 104), 9600, note);
    ASSERT_TRUE(moved);
    EXPECT_FALSE(link::HasValidCheck(moved->bytes));
    EXPECT_FALSE(bus.Handle(link::ProbeFrame(130), 9600, note)) << "both moved";
}

}  // namespace
}  // namespace tarnel::sim
