// The bitmaps built into the program, read by the game's own loader. Their
// sizes and placement are pinned by the golden images and the end-to-end
// screenshots; here what those cannot see: a pixel that would vanish.
#include "platform/gdi/bmpreader.h"
#include "platform/win32/resources.h"

#include <gtest/gtest.h>

namespace
{

using platform::Rgb;

std::unique_ptr<platform::DiBitmap> Load(const char* type, const char* name)
{
    const EmbeddedResource* res = FindEmbeddedResource(type, name);
    return res ? platform::BmpReader::ReadFile({res->data, res->size}) : nullptr;
}

// Drawn with colour key 0 on the 16-bit display, a pixel meant to be seen must
// not fall to zero in RGB565; transparent ones are exactly black.
TEST(BitmapResources, EveryBitmapShowsSomethingAndOnlyVisibleOrBlackPixels)
{
    for (const char* name :
         {"BMP_FADENKREUZ", "BMP_BLACK",       "BMP_WHITE",         "BMP_GREY",
          "BMP_MONEY",      "BMP_CREDITSWND",  "BMP_TAMZELON",      "BMP_NEWGAME",
          "BMP_NEWGAMEHOT", "BMP_HIGHSCORES",  "BMP_HIGHSCORESHOT", "BMP_INFO",
          "BMP_INFOHOT",    "BMP_CREDITS",     "BMP_CREDITSHOT",    "BMP_BEENDEN",
          "BMP_BEENDENHOT", "BMP_NEWGAMEMINI", "BMP_RESET",         "BMP_BACK",
          "BMP_LOGO",       "BMP_PRESENTS"})
    {
        const auto bmp = Load("BITMAP", name);
        ASSERT_TRUE(bmp) << name;
        int visible = 0;
        for (int i = 0; i < bmp->Width() * bmp->Height(); ++i)
        {
            const Rgb p = bmp->Pixel(i % bmp->Width(), i / bmp->Width());
            if (p.r == 0 && p.g == 0 && p.b == 0)
                continue;
            ASSERT_NE(platform::PixelBuffer::FromRgb(p, 16), 0u)
                << name << ": near-black " << int(p.r) << "," << int(p.g) << "," << int(p.b);
            ++visible;
        }
        EXPECT_GT(visible, bmp->Width() * bmp->Height() / 50) << name;
    }
}

TEST(BitmapResources, IconIsA32PixelPictureWithAlpha)
{
    const auto icon = Load("ICON", "128");
    ASSERT_TRUE(icon);
    EXPECT_TRUE(icon->Width() == 32 && icon->Height() == 32);
    ASSERT_EQ(icon->BitsPerPixel(), 32);
    // The reader keeps no alpha: count it in the rows, which have no padding.
    const EmbeddedResource* res = FindEmbeddedResource("ICON", "128");
    const unsigned char* pixels =
        res->data + (res->data[10] | res->data[11] << 8 | res->data[12] << 16);
    int clear = 0, solid = 0;
    for (int i = 0; i < 32 * 32; ++i)
        clear += pixels[4 * i + 3] == 0, solid += pixels[4 * i + 3] == 255;
    EXPECT_GT(clear, 0);
    EXPECT_GT(solid, 32 * 32 / 4);
}

} // namespace
