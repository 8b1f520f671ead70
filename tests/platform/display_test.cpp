#include "events.h"

#include "platform/sdl/display.h"

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
    platform::testing::InjectEvent(events::Event(events::Kind::MouseMove, 123, 456));
    events::Deliver(events::Event(events::Kind::MouseMove, 700, -5));
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_TRUE(p.x == 639 && p.y == 0) << p.x << "," << p.y;
}

TEST(DisplayTest, ShowCursorKeepsTheCount)
{
    for (auto [show, count] : {std::pair{FALSE, -1}, {FALSE, -2}, {TRUE, -1}, {TRUE, 0}, {TRUE, 1}})
        EXPECT_EQ(ShowCursor(show), count);
}

} // namespace
