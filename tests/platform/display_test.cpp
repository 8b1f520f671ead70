#include "platform/sdl/display.h"
#include "platform/testing/testing.h"
#include "platform/win32/win32.h"

#include <gtest/gtest.h>

namespace
{

using platform::Display;
using platform::PixelBuffer;
using platform::testing::VirtualMilliseconds;

TEST(DisplayTest, IdenticalPicturesAreNotUploadedButStillPaced)
{
    Display& display = Display::Instance();
    PixelBuffer picture(640, 480, 16);
    picture.Set(3, 4, 0x1234);
    display.Present(picture, false);
    display.Present(picture, false);
    EXPECT_EQ(platform::testing::PictureUploads(), 1);

    const std::uint64_t before = VirtualMilliseconds();
    display.Present(picture, true);
    EXPECT_EQ(platform::testing::PictureUploads(), 1);
    EXPECT_GT(VirtualMilliseconds(), before) << "the wait happens for a skipped picture too";

    picture.Set(639, 479, 1);
    display.Present(picture, false);
    EXPECT_EQ(platform::testing::PictureUploads(), 2);
    EXPECT_EQ(display.ShownPicture()->Get(639, 479), 1u);
    EXPECT_EQ(display.ShownPicture()->Get(3, 4), 0x1234u);
}

TEST(DisplayTest, WaitingPresentsFollowTheRefreshRate)
{
    Display& display = Display::Instance();
    PixelBuffer picture(640, 480, 16);
    display.Present(picture, true);
    const std::uint64_t start = VirtualMilliseconds();
    for (int frame = 0; frame < 60; ++frame)
    {
        picture.Set(0, 0, static_cast<std::uint32_t>(frame));
        display.Present(picture, true);
    }
    const std::uint64_t elapsed = VirtualMilliseconds() - start;
    EXPECT_GE(elapsed, 990u);
    EXPECT_LE(elapsed, 1030u);

    const std::uint64_t unpaced = VirtualMilliseconds();
    display.Present(picture, false);
    EXPECT_EQ(VirtualMilliseconds(), unpaced);
}

TEST(DisplayTest, CursorFollowsInjectedMouseInsideTheDisplay)
{
    platform::InputEvent move;
    move.kind = platform::InputEvent::Kind::MouseMove;
    move.x = 123;
    move.y = 456;
    platform::testing::InjectEvent(move);
    move.x = 700;
    move.y = -5;
    platform::testing::InjectEvent(move);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 639);
    EXPECT_EQ(p.y, 0);
}

TEST(DisplayTest, ShowCursorKeepsTheCount)
{
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);
}

} // namespace
