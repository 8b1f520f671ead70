#include "bmpwriter.h"

#include "platform/gdi/bmpreader.h"

#include <gtest/gtest.h>

using platform::BmpReader;
using platform::Rgb;
using testbmp::BmpOptions;
using testbmp::Picture;

namespace
{

constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255},
    kOlive{128, 128, 0};

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
const Picture kTwoColours = {{kWhite, kBlue, kBlue}, {kBlue, kBlue, kWhite}};

void ExpectPicture(const platform::DiBitmap& bitmap, const Picture& picture)
{
    ASSERT_EQ(bitmap.Height(), static_cast<int>(picture.size()));
    ASSERT_EQ(bitmap.Width(), static_cast<int>(picture[0].size()));
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
        {
            const Rgb got = bitmap.Pixel(x, y), want = picture[y][x];
            EXPECT_TRUE(got.r == want.r && got.g == want.g && got.b == want.b)
                << "pixel " << x << "," << y;
        }
}

} // namespace

TEST(BmpReader, DecodesEveryDepthInBothOrientationsAndPackedForm)
{
    for (int bits : {1, 4, 8, 24, 32})
        for (bool topDown : {false, true})
            for (bool fileHeader : {true, false})
            {
                SCOPED_TRACE(testing::Message() << bits << " bpp, top-down " << topDown
                                                << ", file header " << fileHeader);
                const Picture picture = bits == 1 ? kTwoColours : Sixteen();
                const auto bytes = testbmp::WriteBmp(picture, {bits, topDown, fileHeader});
                const auto bitmap =
                    fileHeader ? BmpReader::ReadFile(bytes) : BmpReader::ReadPackedDib(bytes);
                ASSERT_NE(bitmap, nullptr);
                EXPECT_EQ(bitmap->BitsPerPixel(), bits);
                ExpectPicture(*bitmap, picture);
            }
}

TEST(BmpReader, RefusesEveryTruncation)
{
    // Width 4 at 24 bits leaves no row padding, so every byte is needed.
    const Picture picture = {{kRed, kGreen, kBlue, kWhite}, {kWhite, kOlive, kRed, kBlue}};
    for (int bits : {4, 24})
    {
        const auto bytes = testbmp::WriteBmp(picture, {bits, false, true});
        ASSERT_NE(BmpReader::ReadFile(bytes), nullptr);
        const std::size_t needed = bits == 24 ? bytes.size() : bytes.size() - 2;
        for (std::size_t length = 0; length < needed; ++length)
            EXPECT_EQ(BmpReader::ReadFile(std::span(bytes.data(), length)), nullptr)
                << bits << " bpp cut at " << length;
    }
}

TEST(BmpReader, RefusesForgedHeaders)
{
    const auto good = testbmp::WriteBmp(Sixteen(), {8, false, true});
    struct Forgery
    {
        const char* what;
        std::size_t offset; // of a 32-bit field
        std::uint32_t value;
    };
    const std::size_t info = testbmp::kInfoOffset;
    const Forgery forgeries[] = {
        {"huge width", info + 4, 0x7FFFFFFF},
        {"negative width", info + 4, 0xFFFFFFFF},
        {"zero height", info + 8, 0},
        {"most negative height", info + 8, 0x80000000},
        {"width x height beyond the limit", info + 4, 20000},
        {"16 bits per pixel", info + 12, 0x00100001},
        {"two planes", info + 12, 0x00080002},
        {"run-length compression", info + 16, 1},
        {"more colours than 8 bits hold", info + 32, 257},
        {"palette beyond the file", info + 32, 200},
        {"header size beyond the file", info, 0x10000},
        {"header size too small", info, 12},
        {"pixels beyond the file", testbmp::kOffBitsOffset, 0x7FFFFFF0},
    };
    for (const Forgery& forgery : forgeries)
    {
        auto bytes = good;
        testbmp::PutDword(bytes, forgery.offset, forgery.value);
        if (forgery.offset == info + 4 && forgery.value == 20000)
            testbmp::PutDword(bytes, info + 8, 20000);
        EXPECT_EQ(BmpReader::ReadFile(bytes), nullptr) << forgery.what;
    }
    auto notBm = good;
    notBm[0] = 'X';
    EXPECT_EQ(BmpReader::ReadFile(notBm), nullptr);
}
