// The software display objects and the display beneath them: blits'
// refusals, the display mode's size, focus loss and restore, refused surfaces,
// fast paths, pacing to the refresh. Fills, flips and blits draw every picture
// of the scenario and golden-image tests.
#include "events.h"

#include "platform/ddraw/ddraw.h"
#include "platform/present/display.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace
{

using platform::Display;
using platform::PixelBuffer;
using platform::testing::ReadPixel;
using platform::testing::VirtualMilliseconds;

// A DirectDraw object in full-screen mode with its flip chain, as the screen sets it up.
class DirectDrawTest : public ::testing::Test
{
protected:
    void Open(DWORD width = 640, DWORD height = 480)
    {
        IDirectDraw* first = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
        ASSERT_EQ(first->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd)), DD_OK);
        first->Release();
        ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE |
                                                       DDSCL_ALLOWMODEX | DDSCL_ALLOWREBOOT),
                  DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(width, height, 16, 0, 0), DD_OK);
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        desc.dwBackBufferCount = 1;
        ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
        ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    }
    IDirectDrawSurface4* OffScreen(DWORD width, DWORD height, HRESULT expected = DD_OK)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof desc;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
        IDirectDrawSurface4* surface = nullptr;
        EXPECT_EQ(dd->CreateSurface(&desc, &surface, nullptr), expected);
        return surface;
    }

    static HRESULT Fill(IDirectDrawSurface4* surface, DWORD colour, RECT* rect = nullptr)
    {
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = colour;
        return surface->Blt(rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    }

    void TearDown() override
    {
        for (IUnknown* object : std::initializer_list<IUnknown*>{back, primary, dd})
            if (object != nullptr)
                object->Release();
    }

    IDirectDraw4* dd = nullptr;
    IDirectDrawSurface4* primary = nullptr;
    IDirectDrawSurface4* back = nullptr;
};

TEST_F(DirectDrawTest, BltFastRefusesRectanglesItCannotCopyWholeAndSurfacesAForgedWidth)
{
    Open();
    IDirectDrawSurface4* image = OffScreen(32, 32);
    ASSERT_EQ(Fill(image, 0xFFFF), DD_OK);
    ASSERT_EQ(Fill(back, 0), DD_OK);
    RECT empty{13, 11, 13, 32}, beyondSource{0, 0, 33, 32}, inverted{5, 5, 2, 9};
    for (RECT* rect : {&empty, &beyondSource, &inverted})
        EXPECT_EQ(back->BltFast(0, 0, image, rect, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    // No clipping at the destination's edges, nor for positions left of or above it.
    for (auto [x, y] : {std::pair<DWORD, DWORD>{609, 0}, {0, 449}, {static_cast<DWORD>(-13), 0}})
        EXPECT_EQ(back->BltFast(x, y, image, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_TRUE(ReadPixel(back, 0, 0) == 0 && ReadPixel(back, 639, 479) == 0);
    EXPECT_EQ(back->BltFast(608, 448, image, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(ReadPixel(back, 639, 479), 0xFFFFu);
    image->Release();
    EXPECT_EQ(OffScreen(100000, 10, DDERR_TOOBIGWIDTH), nullptr) << "a forged size takes no memory";
}

// The screen has the size the game asks for, within what a surface may be.
TEST_F(DirectDrawTest, TheDisplayModeIsTheSizeAskedFor)
{
    Open(800, 600);
    ASSERT_EQ(Fill(back, 0x1234), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    const PixelBuffer* shown = platform::testing::ShownPicture();
    ASSERT_TRUE(shown != nullptr);
    EXPECT_TRUE(shown->Width() == 800 && shown->Height() == 600 && shown->Get(799, 599) == 0x1234);
    for (const auto& [width, height] : {std::pair<DWORD, DWORD>{0, 480}, {640, 5000}})
        EXPECT_EQ(dd->SetDisplayMode(width, height, 16, 0, 0), DDERR_INVALIDMODE)
            << width << "x" << height;
}

TEST_F(DirectDrawTest, FocusLossLosesSurfacesUntilRestoredAndTheyKeepTheirKey)
{
    Open();
    IDirectDrawSurface4* image = OffScreen(4, 4);
    Fill(image, 0xABCD);
    DDCOLORKEY key{0, 0};
    image->SetColorKey(DDCKEY_SRCBLT, &key);
    events::Deliver(events::Event(events::Kind::FocusLost));

    EXPECT_EQ(primary->IsLost(), DDERR_SURFACELOST);
    HDC dc = nullptr;
    for (HRESULT lost : {back->BltFast(0, 0, image, nullptr, DDBLTFAST_WAIT), Fill(back, 0),
                         primary->Flip(nullptr, DDFLIP_WAIT), back->GetDC(&dc)})
        EXPECT_EQ(lost, DDERR_SURFACELOST);

    EXPECT_EQ(primary->Restore(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    EXPECT_EQ(image->Restore(), DD_OK);
    EXPECT_EQ(ReadPixel(image, 2, 2), 0u) << "restored memory comes back empty";
    // The key survived: the now black image draws nothing.
    Fill(back, 0x5555);
    ASSERT_EQ(back->BltFast(0, 0, image, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(ReadPixel(back, 1, 1), 0x5555u);
    image->Release();
}

// The fast paths (unscaled 16-bit keyed copies) must leave exactly the
// pixels of the general path. Opaque copies draw every golden image.
TEST_F(DirectDrawTest, FastPathsMatchTheGeneralPath)
{
    // The key's low and high value, the source rectangle, and where it goes.
    const std::tuple<DWORD, DWORD, RECT, DWORD, DWORD> cases[] = {
        {0, 0, {0, 0, 24, 20}, 100, 100},
        {0x10, 0x20, {0, 0, 24, 20}, 100, 100}, // a key range
        {0, 0, {5, 3, 24, 20}, 0, 0},           // clipped left and top, at the origin
        {0, 0, {0, 0, 7, 9}, 633, 471},         // clipped right and bottom, at the far corner
    };
    Open();
    for (const auto& [low, high, source, x, y] : cases)
    {
        std::vector<std::uint32_t> results[2];
        for (bool general : {false, true})
        {
            platform::testing::UseGeneralBlits(general);
            // Transparent holes, values inside the key range and opaque ones,
            // over a background that differs by area.
            IDirectDrawSurface4* image = OffScreen(24, 20);
            RECT hole{2, 2, 9, 6}, ranged{10, 1, 20, 12}, dot{6, 15, 7, 16}, band{0, 100, 640, 110};
            Fill(image, 0x9A), Fill(image, 0, &hole), Fill(image, 0x18, &ranged),
                Fill(image, 0, &dot);
            Fill(back, 0x77), Fill(back, 0x5C, &band);
            DDCOLORKEY key{low, high};
            RECT rect = source;
            image->SetColorKey(DDCKEY_SRCBLT, &key);
            ASSERT_EQ(back->BltFast(x, y, image, &rect, DDBLTFAST_SRCCOLORKEY), DD_OK);
            for (int i = 0; i < 640 * 480; ++i)
                results[general].push_back(ReadPixel(back, i % 640, i / 640));
            image->Release();
        }
        EXPECT_TRUE(results[0] == results[1]) << x << "," << high;
        const LONG lastX = x + source.right - source.left - 1;
        const LONG lastY = y + source.bottom - source.top - 1;
        EXPECT_EQ(results[0][lastY * 640 + lastX], 0x9Au) << "the copy drew its last pixel";
    }
}

// Row copies take a different set of moves for each range of widths.
TEST_F(DirectDrawTest, RowCopiesOfEveryWidthMatchTheGeneralPath)
{
    Open();
    IDirectDrawSurface4* image = OffScreen(40, 3);
    for (LONG column = 0; column < 40; ++column)
    {
        RECT line{column, 0, column + 1, 3};
        Fill(image, 0x100 + static_cast<DWORD>(column), &line);
    }
    RECT hole{7, 1, 8, 2};
    Fill(image, 0, &hole);
    DDCOLORKEY key{0, 0};
    image->SetColorKey(DDCKEY_SRCBLT, &key);
    for (LONG width = 1; width <= 40; ++width)
        for (DWORD transfer : {DDBLTFAST_NOCOLORKEY, DDBLTFAST_SRCCOLORKEY})
        {
            std::vector<std::uint32_t> results[2];
            for (bool general : {false, true})
            {
                platform::testing::UseGeneralBlits(general);
                RECT source{0, 0, width, 3};
                Fill(back, 0x77);
                ASSERT_EQ(back->BltFast(3, 5, image, &source, transfer), DD_OK);
                for (int i = 0; i < 48 * 10; ++i)
                    results[general].push_back(ReadPixel(back, i % 48, i / 48));
            }
            EXPECT_TRUE(results[0] == results[1]) << width << " pixels, transfer " << transfer;
        }
    image->Release();
}

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

} // namespace
