// The display: pacing to the refresh, only changed rows shown, the cursor kept
// inside the picture.
#include "platform/sdl/display.h"
#include "platform/testing/testing.h"
#include "platform/win32/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

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

// Only what changed is shown again: bands of adjacent changed rows, each as
// wide as its changes, or one rectangle around too many of them.
TEST(DisplayTest, ChangedPicturesAreShownByTheirChangedRectangles)
{
    struct Case
    {
        const char* name;
        int bits;
        std::vector<RECT> drawn;
        std::vector<RECT> expected;
    };
    std::vector<RECT> stripes, stripesAround{{10, 0, 11, 39}};
    for (int y = 0; y < 40; y += 2)
        stripes.push_back({10, y, 11, y + 1});
    const Case cases[] = {
        {"one block", 16, {{100, 200, 132, 232}}, {{100, 200, 132, 232}}},
        {"blocks in separate rows",
         16,
         {{0, 0, 32, 32}, {600, 440, 632, 472}},
         {{0, 0, 32, 32}, {600, 440, 632, 472}}},
        {"blocks sharing rows",
         16,
         {{10, 100, 42, 132}, {500, 120, 532, 152}},
         {{10, 100, 532, 152}}},
        {"the far corner", 16, {{639, 479, 640, 480}}, {{639, 479, 640, 480}}},
        {"8 bits", 8, {{5, 7, 6, 8}}, {{5, 7, 6, 8}}},
        {"too many bands", 16, stripes, stripesAround},
    };
    Display& display = Display::Instance();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        PixelBuffer picture(640, 480, c.bits);
        display.Present(picture, false);
        for (const RECT& r : c.drawn)
            for (LONG y = r.top; y < r.bottom; ++y)
                for (LONG x = r.left; x < r.right; ++x)
                    picture.Set(x, y, 0x21);
        display.Present(picture, false);
        const std::vector<RECT>& shown = display.LastChanges();
        ASSERT_EQ(shown.size(), c.expected.size());
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_TRUE(std::memcmp(&shown[i], &c.expected[i], sizeof(RECT)) == 0)
                << shown[i].left << "," << shown[i].top << "," << shown[i].right << ","
                << shown[i].bottom;
        EXPECT_TRUE(display.ShownPicture()->Bytes() == picture.Bytes());
    }
}

} // namespace
