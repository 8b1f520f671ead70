// Drawing on the back buffer: the clipped crosshair, missing and refused
// objects, lost surfaces, and the failure box. Keyed and opaque blits draw
// every golden image; where the display reports a refused mode or refused
// surfaces, by name, is seen in the scenario tests of the start.
#include "displaytest.h"

#include "display/errorreport.h"

#include <string>

namespace
{

using namespace displaytest;
namespace testing = platform::testing;

// 32 x 32, every pixel tells its own position; (1, 1) is black. Channels
// after the third are ignored.
std::uint8_t PatternChannel(int x, int y, int c)
{
    return x == 1 && y == 1 ? 0 : std::uint8_t(c == 0 ? 8 * x : c == 1 ? 8 * y : c == 2 ? 200 : 99);
}

std::uint32_t PatternAt(int x, int y)
{
    return platform::PixelBuffer::FromRgb(
        {PatternChannel(x, y, 0), PatternChannel(x, y, 1), PatternChannel(x, y, 2)}, 16);
}

class SurfaceTest : public DisplayTest
{
protected:
    std::unique_ptr<CdxSurface> Pattern()
    {
        auto image = LoadPsd({.channels = 24,
                              .height = 32,
                              .width = 32,
                              .data = Planar(32, 32, 24, PatternChannel)});
        image->SetColourKey(0);
        return image;
    }
};

// In the middle of the field the crosshair is pinned by the golden images.
TEST_F(SurfaceTest, CrosshairIsClippedAtTheScreenEdges)
{
    auto cross = Pattern();
    RECT screen{0, 0, 640, 480};
    auto drawAtMouse = [&](int x, int y)
    {
        m_pScreen->Fill(GREEN);
        return cross->DrawFastKeyedClipped(x - 16, y - 16, Back(), &screen);
    };
    drawAtMouse(3, 5); // drawn at (0, 0) from column 13, row 11: 19 x 21 pixels
    EXPECT_TRUE(BackPixel(0, 0) == PatternAt(13, 11) && BackPixel(18, 20) == PatternAt(31, 31));
    EXPECT_TRUE(BackPixel(19, 0) == GREEN && BackPixel(0, 21) == GREEN);
    drawAtMouse(639, 479); // drawn at (623, 463), source cut to (0, 0, 17, 17)
    EXPECT_TRUE(BackPixel(623, 463) == PatternAt(0, 0) && BackPixel(639, 479) == PatternAt(16, 16));
    EXPECT_TRUE(BackPixel(622, 463) == GREEN && BackPixel(623, 462) == GREEN);

    // Nothing left of the image: refused, nothing drawn.
    EXPECT_TRUE(FAILED(drawAtMouse(700, 600)));
    EXPECT_EQ(BackPixel(639, 479), GREEN);
}

// Refused surfaces are reported in the scenario of a display without them.
TEST_F(SurfaceTest, MissingObjectsRaiseAndAnEmptySourceDrawsNothing)
{
    auto image = Pattern();
    CdxSurface empty;
    EXPECT_THROW(empty.GetDC(), CdxError);
    EXPECT_THROW(image->DrawFastKeyed(0, 0, nullptr), CdxError);

    m_pScreen->Fill(GREEN);
    EXPECT_FALSE(Back()->PrintText(0, 0, 255, "x")); // no device context taken
    EXPECT_TRUE(FAILED(empty.DrawFastKeyed(0, 0, Back())));
    EXPECT_EQ(BackPixel(0, 0), GREEN);
}

// Images from resources are reloaded after a loss: the scenario and the
// end-to-end games go on drawing them.
TEST_F(SurfaceTest, ALostPhotoshopImageHasNothingToReloadFrom)
{
    auto pattern = Pattern();
    testing::LoseAllSurfaces();
    EXPECT_EQ(pattern->DrawFastKeyed(80, 40, Back()), DDERR_SURFACELOST);
    // The next frame draws again, with the image restored empty.
    EXPECT_EQ(m_pScreen->Flip(1), DDERR_SURFACELOST);
    EXPECT_EQ(pattern->DrawFastKeyed(80, 40, Back()), DD_OK);
    EXPECT_EQ(testing::ReadPixel(pattern->m_pSurface, 5, 5), 0u);
}

TEST(ErrorReport, AnUnknownFailureIsNamedWholeThenTheProgramIsAskedToQuit)
{
    const std::string longPath(5000, 'd');
    ReportDirectDrawError(0, nullptr, longPath.c_str(), 1);
    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption + ": " + boxes[0].text,
              "Error: DirectDraw Error Unknown Error\nFILE: " + longPath + "\nLINE: 1");
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT);
}

} // namespace
