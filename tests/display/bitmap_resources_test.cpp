// The bitmaps built into the program, read by the game's own loader: every name
// the game loads is there, at the size and depth its screens are laid out for,
// and drawable with colour key 0. That the three stones are told apart is seen
// by the end-to-end bot, which reads them from screenshots by brightness.
#include "platform/gdi/bmpreader.h"
#include "platform/win32/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace
{

using platform::Rgb;

struct ExpectedBitmap
{
    const char* name;
    int width, height, bits;
};

constexpr ExpectedBitmap kBitmaps[] = {
    {"BMP_FADENKREUZ", 32, 32, 24},     {"BMP_BLACK", 20, 20, 24},
    {"BMP_WHITE", 20, 20, 24},          {"BMP_GREY", 20, 20, 24},
    {"BMP_MONEY", 20, 40, 24},          {"BMP_CREDITSWND", 345, 204, 4},
    {"BMP_TAMZELON", 300, 100, 24},     {"BMP_NEWGAME", 300, 50, 24},
    {"BMP_NEWGAMEHOT", 300, 50, 24},    {"BMP_HIGHSCORES", 300, 50, 24},
    {"BMP_HIGHSCORESHOT", 300, 50, 24}, {"BMP_INFO", 300, 50, 24},
    {"BMP_INFOHOT", 300, 50, 24},       {"BMP_CREDITS", 300, 50, 24},
    {"BMP_CREDITSHOT", 300, 50, 24},    {"BMP_BEENDEN", 300, 50, 24},
    {"BMP_BEENDENHOT", 300, 50, 24},    {"BMP_NEWGAMEMINI", 125, 30, 24},
    {"BMP_RESET", 100, 40, 24},         {"BMP_BACK", 100, 40, 24},
    {"BMP_LOGO", 173, 168, 24},         {"BMP_PRESENTS", 300, 100, 4},
};

std::unique_ptr<platform::DiBitmap> Load(const char* type, const char* name)
{
    const EmbeddedResource* res = FindEmbeddedResource(type, name);
    if (!res)
        ADD_FAILURE() << name << " is not built into the program";
    return res ? platform::BmpReader::ReadFile({res->data, res->size}) : nullptr;
}

std::vector<Rgb> Pixels(const platform::DiBitmap& bmp)
{
    std::vector<Rgb> pixels;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x)
            pixels.push_back(bmp.Pixel(x, y));
    return pixels;
}

// Colour key 0 in the 16-bit display: what converts to RGB565 zero is not drawn.
bool Transparent(Rgb p)
{
    return platform::PixelBuffer::FromRgb(p, 16) == 0;
}

// A pixel meant to be seen must not fall to zero in RGB565 (it would vanish
// under the colour key); transparent ones are exactly black. Each picture
// shows something.
TEST(BitmapResources, EveryBitmapHasItsSizeAndDepthAndOnlyVisibleOrBlackPixels)
{
    for (const ExpectedBitmap& want : kBitmaps)
    {
        SCOPED_TRACE(want.name);
        const auto bmp = Load("BITMAP", want.name);
        ASSERT_TRUE(bmp);
        EXPECT_EQ(bmp->Width(), want.width);
        EXPECT_EQ(bmp->Height(), want.height);
        EXPECT_EQ(bmp->BitsPerPixel(), want.bits);
        int visible = 0;
        for (Rgb p : Pixels(*bmp))
        {
            if (p.r == 0 && p.g == 0 && p.b == 0)
                continue;
            ASSERT_FALSE(Transparent(p)) << "near-black pixel " << int(p.r) << "," << int(p.g)
                                         << "," << int(p.b) << " would be keyed out";
            ++visible;
        }
        EXPECT_GT(visible, want.width * want.height / 50);
    }
}

// The crosshair is drawn with its top-left corner at the cursor minus (16, 16):
// its visible part must be centred on pixel (16, 16) with open surroundings.
TEST(BitmapResources, CrosshairIsCentredOnItsMiddlePixel)
{
    const auto cross = Load("BITMAP", "BMP_FADENKREUZ");
    ASSERT_TRUE(cross);
    int left = 32, right = -1, top = 32, bottom = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (!Transparent(cross->Pixel(x, y)))
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                bottom = std::max(bottom, y);
    EXPECT_EQ(left + right, 32);
    EXPECT_EQ(top + bottom, 32);
    EXPECT_FALSE(Transparent(cross->Pixel(16, 16)));
    for (int corner : {0, 31})
        EXPECT_TRUE(Transparent(cross->Pixel(corner, corner)) &&
                    Transparent(cross->Pixel(31 - corner, corner)));
}

TEST(BitmapResources, IconIsA32PixelPictureWithAlpha)
{
    const auto icon = Load("ICON", "128");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Width(), 32);
    EXPECT_EQ(icon->Height(), 32);
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
