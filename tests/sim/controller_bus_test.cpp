#include "console_commands.h"
#include "controller_bus.h"
#include "link/frame_shapes.h"
#include "link/frames.h"

#include <gtest/gtest.h>

namespace tarnel::sim {
namespace {

enum class Heard { Nothing, Answer, Collision };

Heard Probe(ControllerBus& bus, unsigned address)
{
    std::string note;
    const auto reply = bus.Handle(link::ProbeFrame(address), 9600, note);
    return !reply ? Heard::Nothing : link::HasValidCheck(reply->bytes) ? Heard::Answer : Heard::Collision;
}

TEST(ConsoleCommands, ConnectAndDisconnectControllers)
{
    const struct { std::vector<Controller> controllers; std::string line, ack; unsigned probed; Heard heard; } cases[] = {
        {{{5}}, "add 1,wet,baud=19200", "added controller 1: answers at 19200 baud only, rope in water", 1, Heard::Nothing},
        {{{1}}, "add 1", "added controller 1: answers, rope dry; 2 controllers at this address now", 1, Heard::Collision},
        {{{1}, {5}}, " remove 1\r", "removed controller 1", 1, Heard::Nothing},
        {{{1}, {1}, {5}}, "remove 1", "removed 2 controllers at 1", 1, Heard::Nothing},
        {{{5}}, "remove 7", "no controller at 7", 5, Heard::Answer},
        {{{5}}, "add 256", "error: not an address from 0 to 255: 256", 5, Heard::Answer},
        {{}, "add 6,damp", "error: unknown controller option: damp", 6, Heard::Nothing},
        {{{5}}, "  ", "", 5, Heard::Answer},
    };
    for (const auto& c : cases) {
        ControllerBus bus(c.controllers);
        EXPECT_EQ(RunConsoleCommand(c.line, bus), c.ack) << c.line;
        EXPECT_EQ(Probe(bus, c.probed), c.heard) << c.line;
    }
}

TEST(ConsoleCommands, LinesWaitForTheirNewline)
{
    ConsoleLines console;
    EXPECT_EQ(console.Feed("add 1\nremo"), std::vector<std::string>{"add 1"});
    EXPECT_EQ(console.Feed("ve 1\n\nadd 2"), (std::vector<std::string>{"remove 1", ""}));
    EXPECT_EQ(console.Finish(), "add 2") << "the end of input ends the last line";
}

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
