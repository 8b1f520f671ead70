// Text: the code page both ways, the framework string's formatting, and a
// text far wider than any screen.
#include "platform/framework/cstring.h"
#include "platform/gdi/textrenderer.h"
#include "platform/win32/codepage.h"
#include "platform/win32/pixelbuffer.h"

#include <gtest/gtest.h>

#include <string>

using platform::Cp1252ToUtf8;
using platform::Utf8ToCp1252;

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
