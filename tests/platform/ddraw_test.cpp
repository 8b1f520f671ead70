#include "events.h"

#include "platform/ddraw/ddraw.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using platform::testing::ReadPixel;

// A DirectDraw object in full-screen mode with its flip chain, as the screen sets it up.
class DirectDrawTest : public ::testing::Test
{
protected:
    void Create()
    {
        IDirectDraw* first = nullptr;
        ASSERT_EQ(DirectDrawCreate(nullptr, &first, nullptr), DD_OK);
        ASSERT_EQ(first->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd)), DD_OK);
        first->Release();
    }
    void Open(DWORD bitsPerPixel = 16)
    {
        Create();
        ASSERT_EQ(dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE |
                                                       DDSCL_ALLOWMODEX | DDSCL_ALLOWREBOOT),
                  DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(640, 480, bitsPerPixel, 0, 0), DD_OK);
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
        for (IUnknown* object : {static_cast<IUnknown*>(back), static_cast<IUnknown*>(primary),
                                 static_cast<IUnknown*>(dd)})
            if (object != nullptr)
                object->Release();
    }

    IDirectDraw4* dd = nullptr;
    IDirectDrawSurface4* primary = nullptr;
    IDirectDrawSurface4* back = nullptr;
};

TEST_F(DirectDrawTest, FillAndFlipShowTheRawColourAndSwapTheBuffers)
{
    Open();
    ASSERT_EQ(Fill(back, 256), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    const platform::PixelBuffer* shown = platform::testing::ShownPicture();
    ASSERT_NE(shown, nullptr);
    for (int i = 0; i < 640 * 480; ++i)
        ASSERT_EQ(shown->Get(i % 640, i / 640), 0x0100u) << i;

    // The back buffer now holds the older picture.
    ASSERT_EQ(Fill(back, 0x001F), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(platform::testing::ShownPicture()->Get(5, 5), 0x001Fu);
    EXPECT_EQ(ReadPixel(back, 5, 5), 0x0100u);
}

TEST_F(DirectDrawTest, BltFastRefusesRectanglesItCannotCopyWhole)
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
    // The corner that just fits is drawn.
    EXPECT_EQ(back->BltFast(608, 448, image, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(ReadPixel(back, 639, 479), 0xFFFFu);
    image->Release();
}

TEST_F(DirectDrawTest, BltStretchesKeysAndMirrors)
{
    Open();
    IDirectDrawSurface4* image = OffScreen(2, 1);
    RECT left{0, 0, 1, 1}, right{1, 0, 2, 1};
    ASSERT_EQ(Fill(image, 0, &left), DD_OK);
    ASSERT_EQ(Fill(image, 0x1234, &right), DD_OK);
    ASSERT_EQ(Fill(back, 0x7777), DD_OK);

    RECT dest{100, 100, 104, 102};
    ASSERT_EQ(back->Blt(&dest, image, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_TRUE(ReadPixel(back, 101, 101) == 0 && ReadPixel(back, 102, 101) == 0x1234 &&
                ReadPixel(back, 104, 101) == 0x7777);

    EXPECT_EQ(back->Blt(&dest, image, nullptr, DDBLT_KEYSRC, nullptr), DDERR_NOCOLORKEY);
    DDCOLORKEY key{0, 0};
    image->SetColorKey(DDCKEY_SRCBLT, &key);
    RECT keyedDest{200, 100, 204, 101};
    ASSERT_EQ(back->Blt(&keyedDest, image, nullptr, DDBLT_KEYSRC | DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_TRUE(ReadPixel(back, 200, 100) == 0x7777 && ReadPixel(back, 203, 100) == 0x1234);

    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwDDFX = DDBLTFX_MIRRORLEFTRIGHT;
    ASSERT_EQ(image->Blt(nullptr, nullptr, nullptr, DDBLT_DDFX | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_TRUE(ReadPixel(image, 0, 0) == 0x1234 && ReadPixel(image, 1, 0) == 0);

    RECT outside{630, 470, 641, 480};
    EXPECT_EQ(Fill(back, 1, &outside), DDERR_INVALIDRECT);
    image->Release();
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

    EXPECT_EQ(back->Restore(), DDERR_IMPLICITLYCREATED);
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

TEST_F(DirectDrawTest, DeviceContextIsExclusiveAndLocksTheSurface)
{
    Open();
    HDC dc = nullptr, second = nullptr;
    ASSERT_EQ(back->GetDC(&dc), DD_OK);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(back->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(Fill(back, 0), DDERR_SURFACEBUSY);
    EXPECT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
    EXPECT_EQ(back->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(back->ReleaseDC(dc), DDERR_NODC);
    EXPECT_EQ(Fill(back, 0), DD_OK);
}

TEST_F(DirectDrawTest, RefusalsCarryTheirResultCodes)
{
    Create();
    dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
    platform::testing::RefuseDisplayMode(true);
    EXPECT_EQ(dd->SetDisplayMode(640, 480, 16, 0, 0), DDERR_INVALIDMODE);
    platform::testing::RefuseSurfaceCreation(true);
    EXPECT_EQ(OffScreen(4, 4, DDERR_OUTOFVIDEOMEMORY), nullptr);
    platform::testing::RefuseSurfaceCreation(false);
    // A forged size asks for no memory.
    EXPECT_EQ(OffScreen(100000, 10, DDERR_TOOBIGWIDTH), nullptr);
}

TEST_F(DirectDrawTest, EightBitModeUsesThePaletteFormat)
{
    Open(8);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    ASSERT_EQ(back->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_TRUE(desc.lPitch == 640 && desc.ddpfPixelFormat.dwRGBBitCount == 8 &&
                (desc.ddpfPixelFormat.dwFlags & DDPF_PALETTEINDEXED8));

    IDirectDrawSurface4* image = OffScreen(3, 3);
    Fill(image, 0xE0);
    ASSERT_EQ(back->BltFast(1, 1, image, nullptr, DDBLTFAST_WAIT), DD_OK);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    const platform::PixelBuffer* shown = platform::testing::ShownPicture();
    ASSERT_EQ(shown->BitsPerPixel(), 8);
    const platform::Rgb red = shown->ToRgb(shown->Get(2, 2));
    EXPECT_TRUE(red.r == 255 && red.g == 0);
    image->Release();
}

// The fast paths for what the game draws (unscaled 16-bit copies, keyed or
// not, and fills) must leave exactly the pixels of the general path.
TEST_F(DirectDrawTest, FastPathsMatchTheGeneralPath)
{
    struct Case
    {
        const char* name;
        DWORD bits;
        DWORD key[2]; // low, high; low > high: no key
        RECT source;
        DWORD x, y;
    };
    const Case cases[] = {
        {"opaque", 16, {1, 0}, {0, 0, 24, 20}, 100, 100},
        {"keyed", 16, {0, 0}, {0, 0, 24, 20}, 100, 100},
        {"key range", 16, {0x10, 0x20}, {0, 0, 24, 20}, 100, 100},
        {"key above every pixel", 16, {0x10000, 0x20000}, {0, 0, 24, 20}, 100, 100},
        {"clipped left and top, at the origin", 16, {0, 0}, {5, 3, 24, 20}, 0, 0},
        {"clipped right and bottom, at the far corner", 16, {0, 0}, {0, 0, 7, 9}, 633, 471},
        {"one column", 16, {0, 0}, {6, 0, 7, 20}, 320, 240},
        {"8 bits falls back", 8, {0, 0}, {0, 0, 24, 20}, 100, 100},
    };
    Open(16);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.bits != 16)
        {
            TearDown();
            dd = nullptr, primary = back = nullptr;
            Open(c.bits);
        }
        std::vector<std::uint32_t> results[2];
        for (bool general : {false, true})
        {
            platform::testing::UseGeneralBlits(general);
            // An image with transparent holes, values inside the key range and
            // opaque ones, over a background that differs by area.
            IDirectDrawSurface4* image = OffScreen(24, 20);
            RECT hole{2, 2, 9, 6}, ranged{10, 1, 20, 12}, dot{6, 15, 7, 16};
            ASSERT_EQ(Fill(image, 0x9A), DD_OK);
            ASSERT_EQ(Fill(image, 0, &hole), DD_OK);
            ASSERT_EQ(Fill(image, 0x18, &ranged), DD_OK);
            ASSERT_EQ(Fill(image, 0, &dot), DD_OK);
            RECT band{0, 100, 640, 110};
            ASSERT_EQ(Fill(back, 0x77), DD_OK);
            ASSERT_EQ(Fill(back, 0x5C, &band), DD_OK);
            DWORD transfer = DDBLTFAST_WAIT;
            if (c.key[0] <= c.key[1])
            {
                DDCOLORKEY key{c.key[0], c.key[1]};
                image->SetColorKey(DDCKEY_SRCBLT, &key);
                transfer |= DDBLTFAST_SRCCOLORKEY;
            }
            RECT source = c.source;
            ASSERT_EQ(back->BltFast(c.x, c.y, image, &source, transfer), DD_OK);
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x)
                    results[general].push_back(ReadPixel(back, x, y));
            image->Release();
        }
        EXPECT_TRUE(results[0] == results[1]);
        const LONG lastX = c.x + c.source.right - c.source.left - 1;
        const LONG lastY = c.y + c.source.bottom - c.source.top - 1;
        EXPECT_EQ(results[0][lastY * 640 + lastX], 0x9Au) << "the copy drew its last pixel";
    }
}

} // namespace
