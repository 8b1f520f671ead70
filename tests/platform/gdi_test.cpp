#include "bmpwriter.h"
#include "testfiles.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/surfacedc.h"
#include "platform/gdi/textrenderer.h"
#include "platform/win32/pixelbuffer.h"
#include "tests/support/scratchdirectory.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <tuple>

using platform::PixelBuffer;
using platform::Rgb;

namespace
{

constexpr std::uint32_t kBackground = 0x0041;

struct SurfaceContext
{
    explicit SurfaceContext(int width, int height, int bits) : pixels(width, height, bits)
    {
        for (int i = 0; i < width * height; ++i)
            pixels.Set(i % width, i / width, kBackground);
        dc = platform::CreateSurfaceDC(pixels);
    }
    ~SurfaceContext() { platform::DestroySurfaceDC(dc); }
    // How many pixels hold the value, and the rectangle around them.
    int Count(std::uint32_t value, RECT* box = nullptr) const
    {
        int n = 0;
        RECT found{INT_MAX, INT_MAX, -1, -1};
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                if (pixels.Get(x, y) == value)
                    ++n, found = {std::min<LONG>(found.left, x), std::min<LONG>(found.top, y),
                                  std::max<LONG>(found.right, x + 1),
                                  std::max<LONG>(found.bottom, y + 1)};
        if (box)
            *box = found;
        return n;
    }
    PixelBuffer pixels;
    HDC dc;
};

BOOL PrintRed(HDC dc, int x, int y, const char* text)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 255);
    return TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// Written to a file in a fresh folder, loaded by a path with backslashes.
HBITMAP LoadFile(const testbmp::Picture& picture, const testbmp::BmpOptions& options)
{
    ScratchDirectory scratch;
    testfiles::WriteFile("sub/pic.bmp", testbmp::WriteBmp(picture, options));
    const std::string path = std::filesystem::current_path().string() + "\\sub\\pic.bmp";
    // A file is only read when asked for; a resource name is never a path.
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(LoadImageA(reinterpret_cast<HMODULE>(1), path.c_str(), IMAGE_BITMAP, 0, 0, 0),
              nullptr);
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// Red, green on top; blue, white below.
const Rgb kQuadrants[2][2] = {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, {255, 255, 255}}};
const testbmp::Picture kTwoByTwo = {{kQuadrants[0][0], kQuadrants[0][1]},
                                    {kQuadrants[1][0], kQuadrants[1][1]}};

} // namespace

// The game's texts at 16 bits are pinned by the golden images; the 8-bit
// fallback mode draws through its palette.
TEST(TextOut, RedGlyphsAreExactRedInTheirCellOnAnUntouchedBackground)
{
    SurfaceContext surface(200, 40, 8);
    ASSERT_TRUE(PrintRed(surface.dc, 10, 5, "Punkte: 1234"));
    RECT ink;
    const int n = surface.Count(PixelBuffer::FromRgb({255, 0, 0}, 8), &ink);
    EXPECT_GT(n, 100);
    EXPECT_EQ(n + surface.Count(kBackground), 200 * 40);
    auto& renderer = platform::TextRenderer::Instance();
    EXPECT_TRUE(ink.left >= 10 && ink.top >= 5);
    EXPECT_LE(ink.right, 10 + renderer.Width(platform::TextFace::System, "Punkte: 1234"));
    EXPECT_LE(ink.bottom, 5 + renderer.LineHeight(platform::TextFace::System));

    // Code page 1252: "\xE4" falls back neither to "a" nor to the missing-glyph box.
    SurfaceContext a(30, 30, 16), umlaut(30, 30, 16), box(30, 30, 16);
    PrintRed(a.dc, 2, 2, "a");
    PrintRed(umlaut.dc, 2, 2, "\xE4");
    PrintRed(box.dc, 2, 2, "\x81");
    EXPECT_NE(a.pixels.Bytes(), umlaut.pixels.Bytes());
    EXPECT_NE(box.pixels.Bytes(), umlaut.pixels.Bytes());
}

TEST(TextOut, BrokenCallsDrawNothingAndEveryEdgeClips)
{
    // Under the address sanitizer a write outside the buffer fails the test.
    SurfaceContext surface(24, 12, 16);
    EXPECT_TRUE(PrintRed(surface.dc, 5, 5, ""));
    EXPECT_FALSE(TextOutA(surface.dc, 5, 5, "abc", -1));
    EXPECT_FALSE(TextOutA(surface.dc, 5, 5, nullptr, 3));
    EXPECT_EQ(surface.Count(kBackground), 24 * 12);

    for (auto [x, y] : {std::pair{-6, -7},
                        {18, 6},
                        {-30000, 5},
                        {INT_MAX - 5, INT_MIN + 5},
                        {5, INT_MAX},
                        {INT_MIN, INT_MIN}})
        EXPECT_TRUE(PrintRed(surface.dc, x, y, "Wolkenkratzer"));
    EXPECT_GT(surface.Count(surface.pixels.FromRgb({255, 0, 0})), 0); // the first two show
    SetBkMode(surface.dc, OPAQUE); // fills the text's cell, clipped alike
    EXPECT_TRUE(TextOutA(surface.dc, INT_MAX - 2, INT_MAX - 2, "Wolken", 6));
    EXPECT_TRUE(TextOutA(surface.dc, -100, -100, "Wolken", 6));
}

// The game's own images come from resources in every scenario test.
TEST(Bitmaps, LoadFromFilesAndDescribe)
{
    auto bitmap = LoadFile(
        {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}, {{9, 9, 9}, {10, 20, 30}, {255, 255, 255}}},
        {4, false, true});
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof info));
    EXPECT_EQ(GetObjectA(bitmap, sizeof info - 1, &info), 0);
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(std::tie(info.bmWidth, info.bmHeight, info.bmBitsPixel, info.bmWidthBytes),
              std::make_tuple(3, 2, 4, 4));
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(LoadImageA(nullptr, "/nonexistent/missing.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
              nullptr);
}

TEST(Bitmaps, StretchBltConvertsAndStretchesIntoTheSurfaceFormat)
{
    HBITMAP bitmap = LoadFile(kTwoByTwo, {24, false, true});
    ASSERT_NE(bitmap, nullptr);
    for (int bits : {16, 8})
    {
        SCOPED_TRACE(bits);
        SurfaceContext surface(6, 6, bits);
        HDC memory = CreateCompatibleDC(surface.dc);
        HGDIOBJ stock = SelectObject(memory, bitmap);
        ASSERT_NE(stock, nullptr);
        EXPECT_EQ(SelectObject(memory, bitmap), bitmap);
        ASSERT_TRUE(StretchBlt(surface.dc, 1, 1, 4, 4, memory, 0, 0, 2, 2, SRCCOPY));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x)
            {
                const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
                const std::uint32_t want =
                    inside ? surface.pixels.FromRgb(kQuadrants[(y - 1) / 2][(x - 1) / 2])
                           : kBackground;
                EXPECT_EQ(surface.pixels.Get(x, y), want) << x << "," << y;
            }
        // Reaching past every edge of the surface and of the bitmap is safe.
        EXPECT_TRUE(StretchBlt(surface.dc, -3, 4, 9, 9, memory, -1, 1, 3, 3, SRCCOPY));
        EXPECT_FALSE(StretchBlt(surface.dc, 0, 0, 2, 2, memory, 0, 0, 2, 2, 0x00EE0086));
        EXPECT_EQ(SelectObject(memory, stock), bitmap);
        EXPECT_TRUE(DeleteDC(memory));
    }
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(Bitmaps, ABitmapIsNotFreedWhileSelected)
{
    HBITMAP bitmap = LoadFile(kTwoByTwo, {24, false, true});
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    SelectObject(first, bitmap);
    EXPECT_EQ(SelectObject(second, bitmap), nullptr); // one context at a time
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(first));
    EXPECT_TRUE(DeleteObject(bitmap));
    // Stale handles fail instead of touching freed memory.
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(second));
    EXPECT_FALSE(DeleteDC(second));
    EXPECT_EQ(SetTextColor(second, 1), CLR_INVALID);
}

TEST(Bitmaps, StretchDIBitsTakesTopDownAndBottomUpBuffers)
{
    // Rows in memory order: top-down lists the top row first.
    const std::uint8_t topDown[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    const std::uint8_t bottomUp[] = {255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};
    for (int bits : {16, 8})
        for (bool isTopDown : {true, false})
        {
            SCOPED_TRACE(testing::Message() << bits << " bpp, top-down " << isTopDown);
            SurfaceContext surface(4, 4, bits);
            BITMAPINFO info{};
            info.bmiHeader = {
                sizeof(BITMAPINFOHEADER), 2, isTopDown ? -2 : 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            EXPECT_EQ(StretchDIBits(surface.dc, 1, 1, 2, 2, 0, 0, 2, 2,
                                    isTopDown ? topDown : bottomUp, &info, DIB_RGB_COLORS, SRCCOPY),
                      2);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    EXPECT_EQ(surface.pixels.Get(1 + x, 1 + y),
                              surface.pixels.FromRgb(kQuadrants[y][x]))
                        << x << "," << y;
            EXPECT_EQ(surface.Count(kBackground), 12);
            // A source rectangle far outside the image copies nothing.
            StretchDIBits(surface.dc, 0, 0, 4, 4, INT_MAX, INT_MIN, 2, 2, topDown, &info,
                          DIB_RGB_COLORS, SRCCOPY);
            EXPECT_EQ(surface.Count(kBackground), 12);

            info.bmiHeader.biBitCount = 24;
            EXPECT_EQ(StretchDIBits(surface.dc, 0, 0, 2, 2, 0, 0, 2, 2, topDown, &info,
                                    DIB_RGB_COLORS, SRCCOPY),
                      GDI_ERROR);
        }
}
