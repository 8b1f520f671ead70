// Loading images by name: resources, files named like them, and the
// Photoshop reader with its refusals.
#include "displaytest.h"

#include <tuple>

namespace
{

using namespace displaytest;
namespace testing = platform::testing;

using LoadTest = DisplayTest;

std::uint8_t Value(int x, int y, int c)
{
    return static_cast<std::uint8_t>(8 * (x + 3 * y) + 64 * c + 8);
}

Psd Small()
{
    return {.height = 2, .width = 3, .data = Planar(3, 2, 3, Value)};
}

TEST_F(LoadTest, ImagesComeFromResourcesUnlessAPhotoshopFileHasTheirName)
{
    CdxSurface image;
    // A file that is no Photoshop document does not hide the resource.
    for (const Bytes& file : {Bytes{'B', 'M', 0, 0, 7}, Small().Serialise()})
    {
        WriteFile("BMP_BLACK", file);
        EXPECT_EQ(image.Load(m_pScreen.get(), "BMP_BLACK", 2), 1);
        EXPECT_EQ(image.m_nWidth, file.size() == 5 ? 20 : 3);
    }
    EXPECT_EQ(image.Load(m_pScreen.get(), nullptr, 2), 0);
}

TEST_F(LoadTest, RunLengthStreamsRunAcrossRowsAndSkipCode128)
{
    Psd psd;
    psd.width = 3, psd.height = 2, psd.compression = 1;
    psd.data = Bytes(3 * 2 * 2, 0x55);                                 // row byte counts, not used
    psd.data.insert(psd.data.end(), {128, 256 - 5, 40});               // red: 6 x 40
    psd.data.insert(psd.data.end(), {2, 8, 16, 24, 128, 256 - 2, 32}); // green
    psd.data.insert(psd.data.end(), {5, 48, 56, 64, 72, 80, 88});      // blue
    const Bytes want = {40, 40, 40, 40, 40, 40, 8, 16, 24, 32, 32, 32, 48, 56, 64, 72, 80, 88};
    const auto image = LoadPsd(psd);
    ASSERT_EQ(m_nLoadResult, 1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(testing::ReadPixel(image->m_pSurface, i % 3, i / 3),
                  platform::PixelBuffer::FromRgb({want[i], want[6 + i], want[12 + i]}, 16))
            << i;
}

TEST_F(LoadTest, UnsupportedDamagedAndForgedFilesAreRefused)
{
    // What is wrong, the change that makes it so, and the bytes of the file kept (0: all).
    const std::tuple<const char*, std::function<void(Psd&)>, std::size_t> cases[] = {
        {"version 2", [](Psd& p) { p.version = 2; }, 0},
        {"16 bits per channel", [](Psd& p) { p.depth = 16; }, 0},
        {"CMYK", [](Psd& p) { p.mode = 4; }, 0},
        {"compression 2", [](Psd& p) { p.compression = 2; }, 0},
        {"25 channels", [](Psd& p) { p.channels = 25; }, 0},
        {"no channels", [](Psd& p) { p.channels = 0; }, 0},
        {"no width", [](Psd& p) { p.width = 0; }, 0},
        {"too wide", [](Psd& p) { p.width = 30001, p.data.resize(30001 * 2 * 3); }, 0},
        {"size overflowing 32 bits", [](Psd& p) { p.width = p.height = 0xFFFFFFFF; }, 0},
        {"ends in the sections", [](Psd&) {}, 36},
        {"ends in the data", [](Psd& p) { p.data.pop_back(); }, 0},
        {"literal run past the end",
         [](Psd& p)
         {
             p.compression = 1, p.data = Bytes(12, 0);
             p.data.insert(p.data.end(), {5, 1, 2, 3, 4, 5, 6, 5, 1, 2, 3, 4, 5, 6, 5, 1, 2});
         },
         0},
        {"repeat run past the channel",
         [](Psd& p)
         {
             p.compression = 1, p.data = Bytes(12, 0);
             for (int c = 0; c < 3; ++c)
                 p.data.insert(p.data.end(), {256 - 6, 7});
         },
         0},
    };
    for (const auto& [what, edit, keep] : cases)
    {
        Psd psd = Small();
        edit(psd);
        Bytes bytes = psd.Serialise();
        bytes.resize(keep ? keep : bytes.size());
        WriteFile("damaged.psd", bytes);
        CdxSurface image;
        EXPECT_TRUE(image.Load(m_pScreen.get(), "damaged.psd", 2) == 0 && !image.m_pSurface)
            << what;
    }
    EXPECT_TRUE(testing::TakeModalBoxes().empty());
}

} // namespace
