// The window's picture paced to the refresh rate, and the cursor kept on it.
#include "events.h"

#include "platform/sdl/display.h"

#include <gtest/gtest.h>

using platform::testing::VirtualMilliseconds;

TEST(DisplayTest, WaitingPresentsFollowTheRefreshRateSkippedOrNot)
{
    platform::PixelBuffer picture(640, 480, 16);
    platform::Display::Instance().Present(picture, true);
    const std::uint64_t start = VirtualMilliseconds();
    for (int frame = 0; frame < 60; ++frame)
    {
        picture.Set(0, 0, static_cast<std::uint32_t>(frame % 2)); // every other one the same
        platform::Display::Instance().Present(picture, true);
    }
    EXPECT_NEAR(static_cast<double>(VirtualMilliseconds() - start), 1010, 20);
    const std::uint64_t unpaced = VirtualMilliseconds();
    platform::Display::Instance().Present(picture, false);
    EXPECT_EQ(VirtualMilliseconds(), unpaced);
}

TEST(DisplayTest, TheCursorStaysInsideTheDisplay)
{
    events::Deliver(events::Event(events::Kind::MouseMove, 700, -5));
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_TRUE(p.x == 639 && p.y == 0) << p.x << "," << p.y;
}
