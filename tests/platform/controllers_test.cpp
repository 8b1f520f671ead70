// A game controller in the game's terms: its buttons become the keys the game
// knows, and the left stick moves the pointer smoothly beyond a dead zone.
#include "platform/sdl/controllers.h"
#include "platform/win32/stickpointer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

namespace
{

using platform::ControllerButtonEvent;
using platform::InputEvent;
using platform::StickMotion;

TEST(ControllerTest, ButtonsBecomeTheKeysOfMenuAndGame)
{
    // The button as SDL names it, and its key (0: nothing).
    const std::pair<const char*, UINT> cases[] = {
        {"dpup", VK_UP}, {"dpdown", VK_DOWN}, {"dpleft", VK_LEFT},  {"dpright", VK_RIGHT},
        {"a", VK_SPACE}, {"b", VK_ESCAPE},    {"start", VK_RETURN}, {"x", 0},
        {"y", 0},        {"back", 0},         {"leftshoulder", 0},  {"guide", 0},
    };
    for (const auto& [button, key] : cases)
    {
        const InputEvent event = ControllerButtonEvent(button);
        EXPECT_TRUE(event.kind == (key ? InputEvent::Kind::KeyDown : InputEvent::Kind::None) &&
                    event.key == key)
            << button;
    }
}

TEST(ControllerTest, TheStickMovesThePointerBeyondItsDeadZone)
{
    constexpr std::uint64_t FRAME = 1000000 / 60;
    constexpr int FULL = 32767;
    // The stick's lean, the time since the last frame, and the pointer's move.
    const std::tuple<int, int, std::uint64_t, double, double, const char*> cases[] = {
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
    for (const auto& [x, y, microseconds, dx, dy, what] : cases)
    {
        const platform::PointerMotion motion = StickMotion(x, y, microseconds);
        EXPECT_TRUE(std::abs(motion.x - dx) < 0.02 && std::abs(motion.y - dy) < 0.02)
            << what << ": " << motion.x << "," << motion.y;
    }
}

} // namespace
