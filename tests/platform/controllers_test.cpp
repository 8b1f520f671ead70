// A game controller in the game's terms: its buttons become the keys the game
// knows, and the left stick moves the pointer smoothly beyond a dead zone.
#include "platform/sdl/controllers.h"

#include <gtest/gtest.h>

namespace
{

using platform::ControllerButtonEvent;
using platform::InputEvent;
using platform::StickMotion;

TEST(ControllerTest, ButtonsBecomeTheKeysOfMenuAndGame)
{
    struct Case
    {
        const char* button; // as SDL names it
        UINT key;           // 0: nothing
    };
    const Case cases[] = {
        {"dpup", VK_UP}, {"dpdown", VK_DOWN}, {"dpleft", VK_LEFT},  {"dpright", VK_RIGHT},
        {"a", VK_SPACE}, {"b", VK_ESCAPE},    {"start", VK_RETURN}, {"x", 0},
        {"y", 0},        {"back", 0},         {"leftshoulder", 0},  {"guide", 0},
    };
    for (const Case& c : cases)
    {
        const InputEvent event = ControllerButtonEvent(c.button);
        EXPECT_EQ(event.kind, c.key ? InputEvent::Kind::KeyDown : InputEvent::Kind::None)
            << c.button;
        EXPECT_EQ(event.key, c.key) << c.button;
    }
}

TEST(ControllerTest, TheStickMovesThePointerBeyondItsDeadZone)
{
    constexpr std::uint64_t FRAME = 1000000 / 60;
    constexpr int FULL = 32767;
    struct Case
    {
        int x, y;
        std::uint64_t microseconds;
        double dx, dy;
        const char* what;
    };
    const Case cases[] = {
        {0, 0, 1000000, 0, 0, "at rest"},
        {8000, 0, 1000000, 0, 0, "inside the dead zone"},
        {5600, -5600, 1000000, 0, 0, "the dead zone is round"},
        {FULL, 0, FRAME, 8, 0, "full lean: 480 pixels a second"},
        {-32768, 0, FRAME, -8, 0, "full lean left"},
        {0, FULL, 100000, 0, 48, "down, a tenth of a second"},
        {0, -FULL, 1000000, 0, -48, "a long gap moves as a tenth of a second"},
        {20479, 0, 100000, 12, 0, "half way beyond the dead zone: a quarter of the speed"},
        {23170, 23170, FRAME, 5.657, 5.657, "diagonal: as fast as straight"},
    };
    for (const Case& c : cases)
    {
        const platform::PointerMotion motion = StickMotion(c.x, c.y, c.microseconds);
        EXPECT_NEAR(motion.x, c.dx, 0.02) << c.what;
        EXPECT_NEAR(motion.y, c.dy, 0.02) << c.what;
    }
}

} // namespace
