// The bitmaps built into the program: every name the game loads is there, at the
// size and depth its screens are laid out for, and drawable with colour key 0.
#include "platform/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace
{

struct ExpectedBitmap
{
    const char* name;
    int width;
    int height;
    int bits;
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

struct Pixel
{
    std::uint8_t r, g, b, a;
    bool operator==(const Pixel&) const = default;
};

// A bitmap file as the game's loader sees it, pixels top-down.
struct Bitmap
{
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<Pixel> pixels;

    const Pixel& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

std::uint32_t Le(const unsigned char* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Reads a BITMAPFILEHEADER + BITMAPINFOHEADER file, uncompressed, bottom-up,
// at 4, 24 or 32 bits per pixel. Any inconsistency fails the test and gives none.
std::optional<Bitmap> Decode(const EmbeddedResource& res)
{
    const unsigned char* d = res.data;
    const std::size_t size = res.size;
    if (size < 54 || d[0] != 'B' || d[1] != 'M')
    {
        ADD_FAILURE() << res.name << ": no bitmap file header";
        return std::nullopt;
    }
    EXPECT_EQ(Le(d + 2, 4), size) << res.name << ": file size field";
    const std::uint32_t offset = Le(d + 10, 4);
    const std::uint32_t infoSize = Le(d + 14, 4);
    const auto width = static_cast<std::int32_t>(Le(d + 18, 4));
    const auto height = static_cast<std::int32_t>(Le(d + 22, 4));
    const std::uint32_t planes = Le(d + 26, 2);
    const std::uint32_t bits = Le(d + 28, 2);
    const std::uint32_t compression = Le(d + 30, 4);
    const std::uint32_t coloursUsed = Le(d + 46, 4);
    if (infoSize != 40 || planes != 1 || compression != 0 || width <= 0 || height <= 0 ||
        (bits != 4 && bits != 24 && bits != 32))
    {
        ADD_FAILURE() << res.name << ": header " << infoSize << " planes " << planes
                      << " compression " << compression << " size " << width << "x" << height
                      << " bits " << bits;
        return std::nullopt;
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    const std::uint32_t paletteEntries = bits == 4 ? (coloursUsed ? coloursUsed : 16) : 0;
    if (paletteEntries > 16 || offset < 54 + paletteEntries * 4 ||
        offset + stride * static_cast<std::size_t>(height) > size)
    {
        ADD_FAILURE() << res.name << ": palette or pixels outside the file";
        return std::nullopt;
    }
    Bitmap bmp{width, height, static_cast<int>(bits), {}};
    bmp.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
    {
        const unsigned char* row = d + offset + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x)
        {
            Pixel& p = bmp.pixels[static_cast<std::size_t>(y * width + x)];
            if (bits == 4)
            {
                const unsigned index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
                if (index >= paletteEntries)
                {
                    ADD_FAILURE() << res.name << ": colour index " << index;
                    return std::nullopt;
                }
                const unsigned char* entry = d + 54 + index * 4;
                p = {entry[2], entry[1], entry[0], 255};
            }
            else
            {
                const unsigned char* px = row + static_cast<std::size_t>(x) * (bits / 8);
                p = {px[2], px[1], px[0], bits == 32 ? px[3] : std::uint8_t{255}};
            }
        }
    }
    return bmp;
}

std::optional<Bitmap> Load(const char* name)
{
    const EmbeddedResource* res = FindEmbeddedResource("BITMAP", name);
    if (!res)
    {
        ADD_FAILURE() << name << " is not built into the program";
        return std::nullopt;
    }
    return Decode(*res);
}

// Colour key 0 in the 16-bit display: what converts to RGB565 zero is not drawn.
bool Transparent(const Pixel& p)
{
    return (p.r >> 3) == 0 && (p.g >> 2) == 0 && (p.b >> 3) == 0;
}

int Brightness(const Pixel& p)
{
    return (p.r * 30 + p.g * 59 + p.b * 11) / 100;
}

double MeanBrightness(const Bitmap& bmp)
{
    long sum = 0;
    long count = 0;
    for (const Pixel& p : bmp.pixels)
        if (!Transparent(p))
        {
            sum += Brightness(p);
            ++count;
        }
    return count ? static_cast<double>(sum) / count : -1.0;
}

TEST(BitmapResources, EveryBitmapHasTheSizeAndDepthTheScreensExpect)
{
    for (const ExpectedBitmap& want : kBitmaps)
    {
        SCOPED_TRACE(want.name);
        const std::optional<Bitmap> bmp = Load(want.name);
        ASSERT_TRUE(bmp);
        EXPECT_EQ(bmp->width, want.width);
        EXPECT_EQ(bmp->height, want.height);
        EXPECT_EQ(bmp->bits, want.bits);
    }
}

// A pixel meant to be seen must not fall to zero in RGB565 (it would vanish
// under the colour key); transparent ones are exactly black. Each picture
// shows something.
TEST(BitmapResources, PixelsAreEitherExactlyBlackOrVisible)
{
    for (const ExpectedBitmap& want : kBitmaps)
    {
        SCOPED_TRACE(want.name);
        const std::optional<Bitmap> bmp = Load(want.name);
        ASSERT_TRUE(bmp);
        int visible = 0;
        for (const Pixel& p : bmp->pixels)
        {
            if (p == Pixel{0, 0, 0, 255})
                continue;
            ASSERT_FALSE(Transparent(p)) << "near-black pixel " << int(p.r) << "," << int(p.g)
                                         << "," << int(p.b) << " would be keyed out";
            ++visible;
        }
        EXPECT_GT(visible, static_cast<int>(bmp->pixels.size()) / 50);
    }
}

TEST(BitmapResources, StoneTilesAreFilledAndToldApart)
{
    const std::optional<Bitmap> black = Load("BMP_BLACK");
    const std::optional<Bitmap> grey = Load("BMP_GREY");
    const std::optional<Bitmap> white = Load("BMP_WHITE");
    ASSERT_TRUE(black && grey && white);
    for (const Bitmap* stone : {&*black, &*grey, &*white})
    {
        const auto opaque = std::count_if(stone->pixels.begin(), stone->pixels.end(),
                                          [](const Pixel& p) { return !Transparent(p); });
        EXPECT_GE(opaque, 20 * 20 - 8) << "a stone fills its tile";
    }
    const double b = MeanBrightness(*black);
    const double g = MeanBrightness(*grey);
    const double w = MeanBrightness(*white);
    EXPECT_GT(g - b, 50.0) << "black " << b << " grey " << g;
    EXPECT_GT(w - g, 50.0) << "grey " << g << " white " << w;
}

// The crosshair is drawn with its top-left corner at the cursor minus (16, 16):
// its visible part must be centred on pixel (16, 16) with open surroundings.
TEST(BitmapResources, CrosshairIsCentredOnItsMiddlePixel)
{
    const std::optional<Bitmap> cross = Load("BMP_FADENKREUZ");
    ASSERT_TRUE(cross);
    int left = 32, right = -1, top = 32, bottom = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (!Transparent(cross->At(x, y)))
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_EQ(left + right, 32);
    EXPECT_EQ(top + bottom, 32);
    EXPECT_FALSE(Transparent(cross->At(16, 16)));
    for (int corner : {0, 31})
    {
        EXPECT_TRUE(Transparent(cross->At(corner, corner)));
        EXPECT_TRUE(Transparent(cross->At(31 - corner, corner)));
    }
}

TEST(BitmapResources, IconIsA32PixelPictureWithAlpha)
{
    const EmbeddedResource* res = FindEmbeddedResource("ICON", "128");
    ASSERT_NE(res, nullptr);
    const std::optional<Bitmap> icon = Decode(*res);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    ASSERT_EQ(icon->bits, 32);
    const auto clear = std::count_if(icon->pixels.begin(), icon->pixels.end(),
                                     [](const Pixel& p) { return p.a == 0; });
    const auto solid = std::count_if(icon->pixels.begin(), icon->pixels.end(),
                                     [](const Pixel& p) { return p.a == 255; });
    EXPECT_GT(clear, 0);
    EXPECT_GT(solid, 32 * 32 / 4);
}

} // namespace
