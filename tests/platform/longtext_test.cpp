// A text far wider than any screen (a name from an edited high-score file) is
// clipped where the surface ends, not scattered along its row.
#include "platform/gdi/textrenderer.h"
#include "platform/win32/pixelbuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

platform::PixelBuffer Drawn(const std::string& text)
{
    platform::PixelBuffer pixels(640, 40, 16);
    platform::TextRenderer::Instance().Draw(pixels, 125, 10, platform::TextFace::System, text,
                                            0xF800);
    return pixels;
}

TEST(LongText, DrawsAsItsFirstScreenfulClipped)
{
    // 60 letters already run past the right edge; 6000 reach beyond the 65536
    // pixels after which a 16-bit run would wrap back onto the screen.
    const platform::PixelBuffer screenful = Drawn(std::string(60, 'W'));
    const platform::PixelBuffer endless = Drawn(std::string(6000, 'W'));
    EXPECT_NE(screenful.Get(639, 20), screenful.Get(0, 20)) << "the text reaches the edge";
    EXPECT_EQ(endless.Bytes(), screenful.Bytes());
}

} // namespace
