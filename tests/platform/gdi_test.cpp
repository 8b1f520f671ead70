// Text and drawing through device contexts: the code page both ways, the
// framework string's formatting, text at every edge and far wider than any
// screen, and bitmaps from files and from memory stretched into both surface
// formats. The game's texts, umlauts included, are pinned by the golden images.
#include "bmpwriter.h"

#include "platform/framework/cstring.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surfacedc.h"
#include "platform/gdi/textrenderer.h"
#include "platform/win32/codepage.h"
#include "tests/support/scratchdirectory.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

using platform::Cp1252ToUtf8;
using platform::PixelBuffer;
using platform::Rgb;
using platform::Utf8ToCp1252;

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
    PixelBuffer pixels;
    HDC dc;
};

BOOL PrintRed(HDC dc, int x, int y, const char* text)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 255);
    return TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// Written to a file in a fresh folder, loaded by a path with backslashes. The
// game's own images come from resources in every scenario test.
HBITMAP LoadFile(const testbmp::Picture& picture, int bits)
{
    ScratchDirectory scratch;
    testfiles::WriteFile("sub/pic.bmp", testbmp::WriteBmp(picture, {bits, false, true}));
    const std::string path = std::filesystem::current_path().string() + "\\sub\\pic.bmp";
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

// Red, green on top; blue, white below.
const Rgb kQuadrants[2][2] = {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, {255, 255, 255}}};
const testbmp::Picture kTwoByTwo = {{kQuadrants[0][0], kQuadrants[0][1]},
                                    {kQuadrants[1][0], kQuadrants[1][1]}};

} // namespace

TEST(TextOut, BrokenCallsDrawNothingAndEveryEdgeClips)
{
    // Under the address sanitizer a write outside the buffer fails the test.
    SurfaceContext surface(24, 12, 16);
    const auto blank = surface.pixels.Bytes();
    EXPECT_TRUE(PrintRed(surface.dc, 5, 5, ""));
    EXPECT_FALSE(TextOutA(surface.dc, 5, 5, "abc", -1));
    EXPECT_FALSE(TextOutA(surface.dc, 5, 5, nullptr, 3));
    EXPECT_EQ(surface.pixels.Bytes(), blank);

    for (auto [x, y] : {std::pair{-6, -7},
                        {18, 6},
                        {-30000, 5},
                        {INT_MAX - 5, INT_MIN + 5},
                        {5, INT_MAX},
                        {INT_MIN, INT_MIN}})
        EXPECT_TRUE(PrintRed(surface.dc, x, y, "Wolkenkratzer"));
    EXPECT_NE(surface.pixels.Bytes(), blank); // the first two show
    SetBkMode(surface.dc, OPAQUE);            // fills the text's cell, clipped alike
    EXPECT_TRUE(TextOutA(surface.dc, INT_MAX - 2, INT_MAX - 2, "Wolken", 6));
    EXPECT_TRUE(TextOutA(surface.dc, -100, -100, "Wolken", 6));
}

// A file through StretchBlt and a 32-bit buffer in either row order through
// StretchDIBits land alike, in both surface formats.
TEST(Bitmaps, StretchedCopiesConvertIntoTheSurfaceFormat)
{
    HBITMAP bitmap = LoadFile(kTwoByTwo, 24);
    ASSERT_NE(bitmap, nullptr);
    // Blue, green, red and a spare byte per pixel; top-down lists the top row first.
    const std::uint8_t topDown[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    const std::uint8_t bottomUp[] = {255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0};
    for (int i = 0; i < 6; ++i)
    {
        const int bits = i < 3 ? 16 : 8, source = i % 3; // StretchBlt, top-down, bottom-up
        SCOPED_TRACE(testing::Message() << bits << " bits, source " << source);
        SurfaceContext surface(6, 6, bits);
        HDC memory = CreateCompatibleDC(surface.dc);
        HGDIOBJ stock = SelectObject(memory, bitmap);
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), 2, source == 1 ? -2 : 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        ASSERT_TRUE(source == 0 ? StretchBlt(surface.dc, 1, 1, 4, 4, memory, 0, 0, 2, 2, SRCCOPY)
                                : StretchDIBits(surface.dc, 1, 1, 4, 4, 0, 0, 2, 2,
                                                source == 1 ? topDown : bottomUp, &info,
                                                DIB_RGB_COLORS, SRCCOPY) == 2);
        for (int p = 0; p < 36; ++p)
        {
            const int x = p % 6, y = p / 6;
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
            EXPECT_EQ(surface.pixels.Get(x, y),
                      inside ? surface.pixels.FromRgb(kQuadrants[(y - 1) / 2][(x - 1) / 2])
                             : kBackground)
                << x << "," << y;
        }
        // Reaching past every edge of the surface and of the bitmap is safe.
        EXPECT_TRUE(StretchBlt(surface.dc, -3, 4, 9, 9, memory, -1, 1, 3, 3, SRCCOPY));
        EXPECT_FALSE(StretchBlt(surface.dc, 0, 0, 2, 2, memory, 0, 0, 2, 2, 0x00EE0086));
        EXPECT_TRUE(SelectObject(memory, stock) == bitmap && DeleteDC(memory));
    }
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(LoadImageA(nullptr, "/nonexistent/missing.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
              nullptr);
}

TEST(CodePage, EveryByteSurvivesTheRoundTripAndBrokenUtf8BecomesQuestionMarks)
{
    EXPECT_EQ(Cp1252ToUtf8("Men\xFC \xDF \x80 \x84\x93"), "Men\u00FC \u00DF \u20AC \u201E\u201C");
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);

    // Unknown, cut short, no lead byte, a lead without continuation, never UTF-8.
    EXPECT_EQ(Utf8ToCp1252("\u4E2D x \U0001F600|\xC3|\x9F"
                           "a|\xC3(z|\xFF\xFE"),
              "? x ?|?|?a|?(z|??");
}

TEST(CStringTest, FormatFitsAnyLengthAndComparisonKeepsEveryByte)
{
    CString line;
    line.Format("Was f\xFCr ne mickrige Zahl %d ! Peh , %d!", 15, 15);
    EXPECT_STREQ(line, "Was f\xFCr ne mickrige Zahl 15 ! Peh , 15!");
    // Far beyond any fixed buffer, and over its own old contents.
    const std::string wide(5000, 'x');
    line.Format("%s|%s", wide.c_str(), static_cast<const char*>(line));
    EXPECT_EQ(std::string(line), wide + "|Was f\xFCr ne mickrige Zahl 15 ! Peh , 15!");
    EXPECT_FALSE(CString("A\0B", 3) == CString("A")) << "every byte counts";
}

// A name from an edited high-score file is clipped where the surface ends,
// not scattered along its row.
TEST(LongText, DrawsAsItsFirstScreenfulClipped)
{
    auto drawn = [](std::size_t letters)
    {
        platform::PixelBuffer pixels(640, 40, 16);
        platform::TextRenderer::Instance().Draw(pixels, 125, 10, platform::TextFace::System,
                                                std::string(letters, 'W'), 0xF800);
        return pixels;
    };
    // 60 letters already run past the right edge; 6000 reach beyond the 65536
    // pixels after which a 16-bit run would wrap back onto the screen.
    const platform::PixelBuffer screenful = drawn(60);
    EXPECT_NE(screenful.Get(639, 20), screenful.Get(0, 20)) << "the text reaches the edge";
    EXPECT_EQ(drawn(6000).Bytes(), screenful.Bytes());
}
