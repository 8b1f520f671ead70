// The display: pacing to the refresh, only changed rows shown, the cursor kept
// inside the picture.
#include "events.h"

#include "platform/sdl/display.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace
{

using platform::Display;
using platform::PixelBuffer;
using platform::testing::VirtualMilliseconds;

// Presents at 60 a second; an identical picture is not uploaded, but paced still.
TEST(DisplayTest, PresentsFollowTheRefreshRateAndIdenticalPicturesAreSkipped)
{
    Display& display = Display::Instance();
    PixelBuffer picture(640, 480, 16);
    display.Present(picture, true);
    const int uploads = platform::testing::PictureUploads();
    const std::uint64_t start = VirtualMilliseconds();
    for (int frame = 0; frame < 60; ++frame)
    {
        picture.Set(0, 0, static_cast<std::uint32_t>(frame / 2));
        display.Present(picture, true);
    }
    EXPECT_NEAR(VirtualMilliseconds() - start, 1000.0, 30.0);
    EXPECT_EQ(platform::testing::PictureUploads(), uploads + 29) << "every other frame is the same";
    const std::uint64_t paced = VirtualMilliseconds();
    display.Present(picture, false);
    EXPECT_EQ(VirtualMilliseconds(), paced) << "unpaced";
}

TEST(DisplayTest, CursorFollowsInjectedMouseInsideTheDisplay)
{
    events::Deliver(events::Event(events::Kind::MouseMove, 700, -5));
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_TRUE(p.x == 639 && p.y == 0);
}

// Only what changed is shown again: bands of adjacent changed rows, each as
// wide as its changes, or one rectangle around too many of them.
TEST(DisplayTest, ChangedPicturesAreShownByTheirChangedRectangles)
{
    const auto corners = [](const std::vector<RECT>& rects)
    {
        std::vector<std::tuple<LONG, LONG, LONG, LONG>> out;
        for (const RECT& r : rects)
            out.emplace_back(r.left, r.top, r.right, r.bottom);
        return out;
    };
    std::vector<RECT> stripes, stripesAround{{10, 0, 11, 39}};
    for (int y = 0; y < 40; y += 2)
        stripes.push_back({10, y, 11, y + 1});
    // What is drawn, and the rectangles shown again.
    const std::tuple<const char*, std::vector<RECT>, std::vector<RECT>> cases[] = {
        {"blocks in separate rows",
         {{0, 0, 32, 32}, {600, 440, 632, 472}},
         {{0, 0, 32, 32}, {600, 440, 632, 472}}},
        {"blocks sharing rows", {{10, 100, 42, 132}, {500, 120, 532, 152}}, {{10, 100, 532, 152}}},
        {"the far corner", {{639, 479, 640, 480}}, {{639, 479, 640, 480}}},
        {"too many bands", stripes, stripesAround},
    };
    Display& display = Display::Instance();
    for (const auto& [name, drawn, expected] : cases)
    {
        SCOPED_TRACE(name);
        PixelBuffer picture(640, 480, 16);
        display.Present(picture, false);
        for (const RECT& r : drawn)
            for (LONG y = r.top; y < r.bottom; ++y)
                for (LONG x = r.left; x < r.right; ++x)
                    picture.Set(x, y, 0x21);
        display.Present(picture, false);
        EXPECT_EQ(corners(display.LastChanges()), corners(expected));
        EXPECT_TRUE(display.ShownPicture()->Bytes() == picture.Bytes());
    }
}

} // namespace
