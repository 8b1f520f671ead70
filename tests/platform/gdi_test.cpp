#include "bmpwriter.h"

#include "platform/gdi.h"
#include "platform/pixelbuffer.h"
#include "platform/surfacedc.h"
#include "platform/textrenderer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using platform::PixelBuffer;
using platform::Rgb;

namespace
{

constexpr std::uint32_t kBackground = 0x0041;

struct SurfaceContext
{
    explicit SurfaceContext(int width, int height, int bits) : pixels(width, height, bits)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.Set(x, y, kBackground);
        dc = platform::CreateSurfaceDC(pixels);
    }
    ~SurfaceContext() { platform::DestroySurfaceDC(dc); }
    int Count(std::uint32_t value) const
    {
        int n = 0;
        for (int y = 0; y < pixels.Height(); ++y)
            for (int x = 0; x < pixels.Width(); ++x)
                n += pixels.Get(x, y) == value;
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

std::filesystem::path TempDir()
{
    auto dir = std::filesystem::temp_directory_path() / ("tz_gdi_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "sub");
    return dir;
}

} // namespace

TEST(TextOut, RedGlyphsAreExactRedOnAnUntouchedBackground)
{
    for (int bits : {16, 8})
    {
        SCOPED_TRACE(bits);
        SurfaceContext surface(200, 40, bits);
        const std::uint32_t red = PixelBuffer::FromRgb({255, 0, 0}, bits);
        ASSERT_TRUE(PrintRed(surface.dc, 10, 5, "Punkte: 1234"));

        const auto& renderer = platform::TextRenderer::Instance();
        const int width =
            platform::TextRenderer::Instance().Width(platform::TextFace::System, "Punkte: 1234");
        int ink = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
            {
                const std::uint32_t v = surface.pixels.Get(x, y);
                ASSERT_TRUE(v == red || v == kBackground) << x << "," << y;
                if (v != red)
                    continue;
                ++ink;
                EXPECT_TRUE(x >= 10 && x < 10 + width && y >= 5 &&
                            y < 5 + renderer.LineHeight(platform::TextFace::System));
            }
        EXPECT_GT(ink, 100);
    }
}

TEST(TextOut, LooksLikeTheSystemFont)
{
    // Cap height of about 10 to 11 pixels: the ink of "H" from top to bottom.
    SurfaceContext surface(40, 40, 16);
    PrintRed(surface.dc, 5, 5, "H");
    const std::uint32_t red = surface.pixels.FromRgb({255, 0, 0});
    int top = INT_MAX, bottom = -1;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (surface.pixels.Get(x, y) == red)
            {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(bottom - top + 1, 10);
    EXPECT_LE(bottom - top + 1, 11);
}

TEST(TextOut, CodePage1252CharactersHaveTheirOwnGlyphs)
{
    // "ä" must not fall back to a missing-glyph box or to "a".
    SurfaceContext a(30, 30, 16), umlaut(30, 30, 16), box(30, 30, 16);
    PrintRed(a.dc, 2, 2, "a");
    PrintRed(umlaut.dc, 2, 2, "\xE4");
    PrintRed(box.dc, 2, 2, "\x81");
    EXPECT_NE(a.pixels.Bytes(), umlaut.pixels.Bytes());
    EXPECT_NE(box.pixels.Bytes(), umlaut.pixels.Bytes());
}

TEST(TextOut, OpaqueModeFillsTheCellWithTheBackgroundColour)
{
    SurfaceContext surface(100, 30, 16);
    SetTextColor(surface.dc, 255);
    EXPECT_EQ(SetBkMode(surface.dc, OPAQUE), OPAQUE); // a new context starts opaque
    ASSERT_TRUE(TextOutA(surface.dc, 3, 4, "Hi", 2));
    const std::uint32_t white = surface.pixels.FromRgb({255, 255, 255});
    EXPECT_EQ(surface.pixels.Get(3, 4), white);
    EXPECT_EQ(surface.pixels.Get(2, 4), kBackground);
    EXPECT_EQ(surface.pixels.Get(3, 3), kBackground);
}

TEST(TextOut, EmptyAndBrokenCallsDrawNothing)
{
    SurfaceContext surface(50, 30, 16);
    EXPECT_TRUE(PrintRed(surface.dc, 5, 5, ""));
    EXPECT_FALSE(TextOutA(surface.dc, 5, 5, "abc", -1));
    EXPECT_FALSE(TextOutA(surface.dc, 5, 5, nullptr, 3));
    EXPECT_EQ(surface.Count(kBackground), 50 * 30);
    EXPECT_EQ(SetBkMode(surface.dc, 7), 0);
    EXPECT_EQ(SetBkMode(surface.dc, OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetTextColor(surface.dc, 0x00FF00), 255u);
}

TEST(TextOut, ClipsAtEveryEdge)
{
    // Under the address sanitizer a write outside the buffer fails the test.
    SurfaceContext surface(24, 12, 16);
    const std::uint32_t red = surface.pixels.FromRgb({255, 0, 0});
    for (auto [x, y] : {std::pair{-6, -7},
                        {18, 6},
                        {-30000, 5},
                        {INT_MAX - 5, INT_MIN + 5},
                        {5, INT_MAX},
                        {INT_MIN, INT_MIN}})
        EXPECT_TRUE(PrintRed(surface.dc, x, y, "Wolkenkratzer"));
    EXPECT_GT(surface.Count(red), 0); // the first two are partly visible

    SetBkMode(surface.dc, OPAQUE);
    EXPECT_TRUE(TextOutA(surface.dc, INT_MAX - 2, INT_MAX - 2, "Wolken", 6));
    EXPECT_TRUE(TextOutA(surface.dc, -100, -100, "Wolken", 6));
}

TEST(Bitmaps, LoadFromFileWithBackslashesAndDescribe)
{
    const auto dir = TempDir();
    const testbmp::Picture picture = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
                                      {{9, 9, 9}, {10, 20, 30}, {255, 255, 255}}};
    const auto bytes = testbmp::WriteBmp(picture, {4, false, true});
    std::ofstream(dir / "sub" / "pic.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());

    const std::string path = dir.string() + "\\sub\\pic.bmp";
    auto bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    EXPECT_EQ(GetObjectA(bitmap, 0, nullptr), static_cast<int>(sizeof info));
    EXPECT_EQ(GetObjectA(bitmap, sizeof info - 1, &info), 0);
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_EQ(info.bmBitsPixel, 4);
    EXPECT_EQ(info.bmWidthBytes, 4);
    EXPECT_TRUE(DeleteObject(bitmap));

    // A file is only read when asked for; a resource name is never a path.
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    HMODULE module = reinterpret_cast<HMODULE>(1);
    EXPECT_EQ(LoadImageA(module, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(
        LoadImageA(nullptr, (dir / "missing.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
        nullptr);
    std::filesystem::remove_all(dir);
}

TEST(Bitmaps, LoadFromTheProgramsResources)
{
    auto bitmap =
        LoadImageA(GetModuleHandleA(nullptr), "BMP_BLACK", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 20);
    EXPECT_EQ(info.bmHeight, 20);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(LoadImageA(GetModuleHandleA(nullptr), "BMP_NOSUCHTHING", IMAGE_BITMAP, 0, 0,
                         LR_CREATEDIBSECTION),
              nullptr);
}

namespace
{

// A 2 x 2 bitmap: red, green on top; blue, white below.
HBITMAP TwoByTwo()
{
    const auto dir = TempDir();
    const auto bytes = testbmp::WriteBmp(
        {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, {255, 255, 255}}}, {24, false, true});
    std::ofstream(dir / "two.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, (dir / "two.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    std::filesystem::remove_all(dir);
    return bitmap;
}

const Rgb kQuadrants[2][2] = {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, {255, 255, 255}}};

} // namespace

TEST(Bitmaps, StretchBltConvertsAndStretchesIntoTheSurfaceFormat)
{
    HBITMAP bitmap = TwoByTwo();
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
    HBITMAP bitmap = TwoByTwo();
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
