// What a new picture changes of the shown one, within the rows a flip chain
// tells; pacing that stops trusting a vsync which does not wait; idling only
// once the picture has stood.
#include "platform/present/pacing.h"
#include "platform/present/shownpicture.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace
{

using platform::PixelBuffer;
using platform::Rows;
using platform::ShownPicture;
using Corners = std::vector<std::tuple<LONG, LONG, LONG, LONG>>;

Corners CornersOf(const std::vector<RECT>& rects)
{
    Corners out;
    for (const RECT& r : rects)
        out.emplace_back(r.left, r.top, r.right, r.bottom);
    return out;
}

void Draw(PixelBuffer& picture, const RECT& r, std::uint32_t value)
{
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            picture.Set(x, y, value);
}

// Only what changed is shown again: bands of adjacent changed rows, each as
// wide as its changes, or one rectangle around too many of them.
TEST(ChangeDetectionTest, ChangedPicturesAreTakenByTheirChangedRectangles)
{
    std::vector<RECT> stripes, stripesAround{{10, 0, 11, 39}};
    for (int y = 0; y < 40; y += 2)
        stripes.push_back({10, y, 11, y + 1});
    // What is drawn, and the rectangles taken.
    const std::tuple<const char*, std::vector<RECT>, std::vector<RECT>> cases[] = {
        {"blocks in separate rows",
         {{0, 0, 32, 32}, {600, 440, 632, 472}},
         {{0, 0, 32, 32}, {600, 440, 632, 472}}},
        {"blocks sharing rows", {{10, 100, 42, 132}, {500, 120, 532, 152}}, {{10, 100, 532, 152}}},
        {"the far corner", {{639, 479, 640, 480}}, {{639, 479, 640, 480}}},
        {"too many bands", stripes, stripesAround},
    };
    for (const int bits : {16, 8})
        for (const auto& [name, drawn, expected] : cases)
        {
            SCOPED_TRACE(testing::Message() << name << ", " << bits << " bits");
            ShownPicture shown;
            PixelBuffer picture(640, 480, bits);
            ASSERT_TRUE(shown.Take(picture, std::nullopt).whole);
            for (const RECT& r : drawn)
                Draw(picture, r, 0x21);
            EXPECT_EQ(CornersOf(shown.Take(picture, std::nullopt).rects), CornersOf(expected));
            EXPECT_TRUE(shown.Picture()->Bytes() == picture.Bytes());
        }
}

// A flip chain presents its two buffers in turn: the rows written into one
// since it was shown are compared, and so are the rows the last present
// changed, which the other buffer does not have; told nothing, every row is.
TEST(ChangeDetectionTest, OnlyRowsWrittenOrChangedLastAreCompared)
{
    ShownPicture shown;
    PixelBuffer front(64, 48, 16), back(64, 48, 16);
    EXPECT_TRUE(shown.Take(front, Rows{0, 48}).whole) << "the first picture";
    EXPECT_FALSE(shown.Take(back, Rows{0, 0}).Any()) << "an equal picture";
    Draw(front, {0, 10, 4, 11}, 1);
    Draw(front, {8, 30, 9, 31}, 1);
    EXPECT_EQ(CornersOf(shown.Take(front, Rows{10, 11}).rects), (Corners{{0, 10, 4, 11}}))
        << "row 30, told as not written, is not compared";
    EXPECT_EQ(CornersOf(shown.Take(back, Rows{20, 21}).rects), (Corners{{0, 10, 4, 11}}))
        << "row 10 changed last and differs again";
    EXPECT_EQ(CornersOf(shown.Take(front, std::nullopt).rects),
              (Corners{{0, 10, 4, 11}, {8, 30, 9, 31}}));
    EXPECT_TRUE(shown.Take(PixelBuffer(64, 48, 8), Rows{0, 0}).whole) << "another depth";
}

TEST(PacingTest, VsyncThatComesBackAtOnceIsNoLongerTrusted)
{
    constexpr std::uint64_t PERIOD = 1000000 / 60;
    platform::FramePacer pacer;
    for (std::uint64_t frame = 1; frame <= 20; ++frame)
        pacer.Shown(true, 60, frame * PERIOD);
    EXPECT_TRUE(pacer.Trusts(true)) << "presents a refresh apart";
    EXPECT_FALSE(pacer.Trusts(false)) << "a back end without vsync";
    for (std::uint64_t quick = 1; quick <= 8; ++quick)
    {
        EXPECT_TRUE(pacer.Trusts(true)) << quick;
        pacer.Shown(true, 60, 20 * PERIOD + quick * 100);
    }
    EXPECT_FALSE(pacer.Trusts(true)) << "eight at once";
    pacer.Shown(true, 60, 30 * PERIOD);
    EXPECT_FALSE(pacer.Trusts(true)) << "for good";
    pacer.Reset();
    EXPECT_TRUE(pacer.Trusts(true)) << "a new area";
}

// Idling waits for input instead of the refresh: only after two presents in
// a row of a picture that stood, with no input between them.
TEST(PacingTest, IdlingFollowsAPictureThatStoodWithoutInput)
{
    platform::IdlePolicy idle;
    // Whether input came, whether the picture stood, and whether idling may follow.
    const std::tuple<bool, bool, bool> steps[] = {
        {false, true, false},  {false, true, true},  {false, true, true},
        {true, true, false},   {false, true, false}, {false, true, true},
        {false, false, false}, {false, true, false}, {false, true, true},
    };
    for (int step = 0; const auto& [input, stood, mayIdle] : steps)
    {
        if (input)
            idle.InputCame();
        idle.Presented(stood);
        EXPECT_EQ(idle.MayIdle(), mayIdle) << "step " << step++;
    }
}

} // namespace
