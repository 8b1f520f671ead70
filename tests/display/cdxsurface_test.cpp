// Drawing on the back buffer: opaque and keyed blits, the clipped crosshair,
// missing and refused objects, lifetime and lost surfaces.
#include "displaytest.h"

#include <algorithm>

namespace
{

using namespace displaytest;
namespace testing = platform::testing;

// 32 x 32, every pixel tells its own position; (1, 1) is black.
std::uint8_t PatternChannel(int x, int y, int c)
{
    return x == 1 && y == 1 ? 0 : std::uint8_t(c == 0 ? 8 * x : c == 1 ? 8 * y : 200);
}

std::uint32_t PatternAt(int x, int y)
{
    return Raw(PatternChannel(x, y, 0), PatternChannel(x, y, 1), PatternChannel(x, y, 2));
}

class SurfaceTest : public DisplayTest
{
protected:
    std::unique_ptr<CdxSurface> Pattern()
    {
        Psd psd;
        psd.width = psd.height = 32;
        psd.data = Planar(32, 32, 3, PatternChannel);
        auto image = LoadPsd(psd, "pattern.psd");
        image->SetColourKey(0);
        return image;
    }
};

TEST_F(SurfaceTest, KeyedBlitSkipsBlackAndOpaqueBlitDrawsIt)
{
    auto image = Pattern();
    m_pScreen->Fill(GREEN);
    EXPECT_EQ(image->DrawFastKeyed(100, 50, Back()), DD_OK);
    EXPECT_EQ(image->DrawFast(300, 50, Back()), DD_OK);
    for (int left : {100, 300})
    {
        for (auto [x, y] : {std::pair{0, 0}, {31, 31}, {5, 7}})
            EXPECT_EQ(BackPixel(left + x, 50 + y), PatternAt(x, y));
        for (auto [x, y] : {std::pair{-1, 0}, {32, 0}, {0, 32}})
            EXPECT_EQ(BackPixel(left + x, 50 + y), GREEN);
    }
    EXPECT_EQ(BackPixel(101, 51), GREEN);
    EXPECT_EQ(BackPixel(301, 51), 0u);
}

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
    EXPECT_EQ(BackPixel(0, 0), PatternAt(13, 11));
    EXPECT_EQ(BackPixel(18, 20), PatternAt(31, 31));
    EXPECT_EQ(BackPixel(19, 0), GREEN);
    EXPECT_EQ(BackPixel(0, 21), GREEN);

    drawAtMouse(639, 479); // drawn at (623, 463), source cut to (0, 0, 17, 17)
    EXPECT_EQ(BackPixel(623, 463), PatternAt(0, 0));
    EXPECT_EQ(BackPixel(639, 479), PatternAt(16, 16));
    EXPECT_EQ(BackPixel(622, 463), GREEN);
    EXPECT_EQ(BackPixel(623, 462), GREEN);

    // Nothing left of the image: refused, nothing drawn.
    EXPECT_TRUE(FAILED(drawAtMouse(700, 600)));
    EXPECT_EQ(BackPixel(639, 479), GREEN);
    EXPECT_EQ(cross->m_rcSource.right * cross->m_rcSource.bottom, 32 * 32) << "left as it was";
}

TEST_F(SurfaceTest, MissingOrRefusedObjectsRaiseAndAnEmptySourceDrawsNothing)
{
    auto image = Pattern();
    CdxSurface empty;
    EXPECT_THROW(empty.SetColourKey(0), CdxError);
    EXPECT_THROW(empty.GetDC(), CdxError);
    EXPECT_THROW(empty.ReleaseDC(), CdxError);
    EXPECT_THROW(empty.MirrorHorizontal(0, 0, 0), CdxError);
    EXPECT_THROW(empty.MirrorVertical(0, 0, 0), CdxError);
    EXPECT_THROW(empty.RestoreAndReload(), CdxError);
    EXPECT_THROW(image->DrawFast(0, 0, &empty), CdxError);
    EXPECT_THROW(image->DrawFastKeyed(0, 0, nullptr), CdxError);
    EXPECT_THROW(empty.Create(nullptr, 4, 4, 2), CdxError);
    EXPECT_THROW(empty.Load(nullptr, "pattern.psd", 2), CdxError);

    m_pScreen->Fill(GREEN);
    EXPECT_FALSE(Back()->PrintText(0, 0, 255, "x")); // no device context taken
    EXPECT_TRUE(FAILED(empty.DrawFastKeyed(0, 0, Back())));
    EXPECT_TRUE(FAILED(empty.DrawFast(0, 0, Back())));
    EXPECT_EQ(BackPixel(0, 0), GREEN);

    testing::RefuseSurfaceCreation(true);
    EXPECT_EQ(empty.Create(m_pScreen.get(), 8, 8, 2), 0);
    EXPECT_EQ(empty.m_pSurface, nullptr);
    EXPECT_NE(testing::TakeModalBoxes().at(0).text.find("FILE: display/cdxsurface.cpp\nLINE: 247"),
              std::string::npos);
}

TEST_F(SurfaceTest, ImagesOutliveTheScreenTheyWereMadeFrom)
{
    auto pattern = Pattern();
    auto stone = std::make_unique<CdxSurface>(m_pScreen.get(), "pattern.psd", 2);
    CdxSurface target;
    ASSERT_EQ(target.Create(m_pScreen.get(), 40, 40, 1), 1);
    m_pScreen.reset(); // the frame window deletes the display first

    EXPECT_EQ(stone->SetColourKey(0), DD_OK);
    EXPECT_EQ(pattern->DrawFast(0, 0, &target), DD_OK);
    EXPECT_EQ(testing::ReadPixel(target.m_pSurface, 31, 31), PatternAt(31, 31));
    EXPECT_EQ(stone->DrawFastKeyed(8, 8, &target), DD_OK);
}

// Images from resources are reloaded after a loss: the scenario and the
// end-to-end games go on drawing them.
TEST_F(SurfaceTest, ALostPhotoshopImageHasNothingToReloadFrom)
{
    auto pattern = Pattern();
    testing::TakeDebugOutput();
    testing::LoseAllSurfaces();
    EXPECT_EQ(pattern->DrawFastKeyed(80, 40, Back()), DDERR_SURFACELOST);
    EXPECT_EQ(m_pScreen->Flip(1), DDERR_SURFACELOST);
    // The next frame draws again, with the image restored empty.
    EXPECT_EQ(pattern->DrawFastKeyed(80, 40, Back()), DD_OK);
    EXPECT_EQ(m_pScreen->Flip(1), DD_OK);
    EXPECT_EQ(testing::ReadPixel(pattern->m_pSurface, 5, 5), 0u);
    const std::vector<std::string> debug = testing::TakeDebugOutput();
    EXPECT_NE(std::find(debug.begin(), debug.end(), "handle is null\n"), debug.end());
}

} // namespace
