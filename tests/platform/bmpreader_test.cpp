// The bitmap reader: every depth in both row orders, with and without the
// file header, refusals of every truncation and of forged headers, and the
// built-in bitmaps as the 16-bit display will key them.
#include "bmpwriter.h"

#include "platform/gdi/bmpreader.h"
#include "platform/win32/resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using platform::BmpReader;
using testbmp::Picture;

namespace
{

// 17 columns, so that every depth but 32 bits pads its rows, in sixteen
// colours, so that every palette slot and nibble position is used; the rows
// tell top from bottom.
Picture Sixteen()
{
    Picture picture(2);
    for (int i = 0; i < 17; ++i)
        picture[0].push_back({static_cast<std::uint8_t>(i % 16 * 16),
                              static_cast<std::uint8_t>(255 - i % 16),
                              static_cast<std::uint8_t>(i % 16)});
    picture[1].assign(picture[0].rbegin(), picture[0].rend());
    return picture;
}

} // namespace

TEST(BmpReader, DecodesEveryDepthInBothOrientationsAndPackedForm)
{
    const platform::Rgb white{255, 255, 255}, blue{0, 0, 255};
    for (int bits : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true})
            for (bool fileHeader : {true, false})
            {
                SCOPED_TRACE(testing::Message() << bits << " bpp, top-down " << topDown
                                                << ", file header " << fileHeader);
                const Picture picture =
                    bits == 1 ? Picture{{white, blue, blue}, {blue, blue, white}} : Sixteen();
                const auto bytes = testbmp::WriteBmp(picture, {bits, topDown, fileHeader});
                const auto bitmap =
                    fileHeader ? BmpReader::ReadFile(bytes) : BmpReader::ReadPackedDib(bytes);
                ASSERT_NE(bitmap, nullptr);
                ASSERT_TRUE(bitmap->BitsPerPixel() == bits && bitmap->Height() == 2 &&
                            bitmap->Width() == int(picture[0].size()));
                for (std::size_t i = 0; i < 2 * picture[0].size(); ++i)
                {
                    const int x = int(i % picture[0].size()), y = int(i / picture[0].size());
                    const platform::Rgb got = bitmap->Pixel(x, y), want = picture[y][x];
                    EXPECT_TRUE(got.r == want.r && got.g == want.g && got.b == want.b) << i;
                }
            }
}

TEST(BmpReader, RefusesEveryTruncationAndForgedHeaders)
{
    const auto good = testbmp::WriteBmp(Sixteen(), {4, false, true});
    ASSERT_NE(BmpReader::ReadFile(good), nullptr);
    // Only the padding of the last row may be missing.
    for (std::size_t length = 0; length + 3 < good.size(); ++length)
        EXPECT_EQ(BmpReader::ReadFile(std::span(good.data(), length)), nullptr) << length;

    // What is forged, the offset of the 32-bit field, and its forged value.
    const std::size_t info = 14;
    const std::tuple<const char*, std::size_t, std::uint32_t> forgeries[] = {
        {"negative width", info + 4, 0xFFFFFFFF},
        {"zero height", info + 8, 0},
        {"most negative height", info + 8, 0x80000000},
        {"width x height beyond the limit", info + 4, 20000},
        {"16 bits per pixel", info + 12, 0x00100001},
        {"two planes", info + 12, 0x00040002},
        {"run-length compression", info + 16, 2},
        {"more colours than 8 bits hold", info + 32, 257},
        {"palette beyond the file", info + 32, 200},
        {"header size beyond the file", info, 0x10000},
        {"header size too small", info, 12},
        {"pixels beyond the file", 10, 0x7FFFFFF0},
        {"not BM", 0, 'X' | 'M' << 8 | std::uint32_t(good[2]) << 16 | std::uint32_t(good[3]) << 24},
    };
    for (const auto& [what, offset, value] : forgeries)
    {
        auto bytes = good;
        for (int i = 0; i < 4; ++i)
            bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        if (value == 20000)
            bytes[info + 8] = 0x20, bytes[info + 9] = 0x4E; // 20000 high, too
        EXPECT_EQ(BmpReader::ReadFile(bytes), nullptr) << what;
    }
}

// Drawn with colour key 0, a pixel meant to be seen must not fall to zero in
// RGB565; only the transparent ones are exactly black.
TEST(BmpReader, TheBuiltInBitmapsHaveNoNearBlackPixel)
{
    for (const auto& file : std::filesystem::directory_iterator(TZ_BITMAPS))
    {
        const std::string name = file.path().stem();
        const EmbeddedResource* res = FindEmbeddedResource("BITMAP", name);
        ASSERT_NE(res, nullptr) << name;
        const auto bitmap = BmpReader::ReadFile({res->data, res->size});
        ASSERT_NE(bitmap, nullptr) << name;
        for (int i = 0; i < bitmap->Width() * bitmap->Height(); ++i)
        {
            const platform::Rgb p = bitmap->Pixel(i % bitmap->Width(), i / bitmap->Width());
            ASSERT_TRUE(p.r + p.g + p.b == 0 || platform::PixelBuffer::FromRgb(p, 16) != 0)
                << name << ": near-black " << int(p.r) << "," << int(p.g) << "," << int(p.b);
        }
    }
}
