// Loading images by name: resources, files named like them, and the
// Photoshop reader with its refusals.
#include "displaytest.h"

namespace
{

using namespace displaytest;
namespace testing = platform::testing;

class LoadTest : public DisplayTest
{
protected:
    void ExpectPixels(CdxSurface& image, const Psd& psd)
    {
        ASSERT_EQ(m_nLoadResult, 1);
        ASSERT_EQ(image.m_nWidth, static_cast<int>(psd.width));
        ASSERT_EQ(image.m_nHeight, static_cast<int>(psd.height));
        const std::size_t plane = psd.width * psd.height;
        for (std::uint32_t y = 0; y < psd.height; ++y)
            for (std::uint32_t x = 0; x < psd.width; ++x)
            {
                const std::size_t i = y * psd.width + x;
                EXPECT_EQ(testing::ReadPixel(image.m_pSurface, x, y),
                          Raw(m_Expected[i], m_Expected[plane + i], m_Expected[2 * plane + i]))
                    << "at " << x << ", " << y;
            }
    }

    Bytes m_Expected; // planar red, green, blue
};

std::uint8_t Value(int x, int y, int c)
{
    return static_cast<std::uint8_t>(8 * (x + 3 * y) + 64 * c + 8);
}

Psd Small()
{
    Psd psd;
    psd.width = 3, psd.height = 2;
    psd.data = Planar(3, 2, 3, Value);
    return psd;
}

TEST_F(LoadTest, ImagesComeFromResourcesUnlessAPhotoshopFileHasTheirName)
{
    const char* name = "BMP_BLACK";
    CdxSurface image;
    EXPECT_EQ(image.Load(m_pScreen.get(), name, 2), 1);
    EXPECT_EQ(image.m_pszName, name);
    EXPECT_TRUE(image.m_rcSource.right == 20 && image.m_rcDest.bottom == 20);

    // A file that is no Photoshop document does not hide the resource.
    for (const Bytes& file : {Bytes{'B', 'M', 0, 0, 7}, Small().Serialise()})
    {
        WriteFile(name, file);
        EXPECT_EQ(image.Load(m_pScreen.get(), name, 2), 1);
        EXPECT_EQ(image.m_nWidth, file.size() == 5 ? 20 : 3);
        EXPECT_EQ(image.m_nHeight, file.size() == 5 ? 20 : 2);
    }

    EXPECT_EQ(image.Load(m_pScreen.get(), "BMP_NOTHING", 2), 0);
    EXPECT_EQ(image.m_pSurface, nullptr);
    EXPECT_THROW(image.SetColourKey(0), CdxError);
    EXPECT_EQ(image.Load(m_pScreen.get(), nullptr, 2), 0);
}

TEST_F(LoadTest, RawChannelsFillRedGreenBlueAndTheFourthIsIgnored)
{
    for (std::uint16_t channels : {3, 4, 24})
    {
        Psd psd;
        psd.width = 5, psd.height = 4, psd.channels = channels;
        psd.data = Planar(5, 4, channels, Value);
        m_Expected = Planar(5, 4, 3, Value);
        ExpectPixels(*LoadPsd(psd), psd);
    }
}

TEST_F(LoadTest, RunLengthStreamsRunAcrossRowsAndSkipCode128)
{
    Psd psd;
    psd.width = 3, psd.height = 2, psd.compression = 1;
    psd.data = Bytes(3 * 2 * 2, 0x55);                                 // row byte counts, not used
    psd.data.insert(psd.data.end(), {128, 256 - 5, 40});               // red: 6 x 40
    psd.data.insert(psd.data.end(), {2, 8, 16, 24, 128, 256 - 2, 32}); // green
    psd.data.insert(psd.data.end(), {5, 48, 56, 64, 72, 80, 88});      // blue
    m_Expected = {40, 40, 40, 40, 40, 40, 8, 16, 24, 32, 32, 32, 48, 56, 64, 72, 80, 88};
    ExpectPixels(*LoadPsd(psd), psd);
}

TEST_F(LoadTest, UnsupportedDamagedAndForgedFilesAreRefused)
{
    struct Case
    {
        const char* what;
        std::function<void(Psd&)> edit;
        std::size_t keep = 0; // bytes of the file kept, 0 for all
    };
    const Case cases[] = {
        {"version 2", [](Psd& p) { p.version = 2; }},
        {"16 bits per channel", [](Psd& p) { p.depth = 16; }},
        {"CMYK", [](Psd& p) { p.mode = 4; }},
        {"compression 2", [](Psd& p) { p.compression = 2; }},
        {"25 channels", [](Psd& p) { p.channels = 25; }},
        {"no channels", [](Psd& p) { p.channels = 0; }},
        {"no width", [](Psd& p) { p.width = 0; }},
        {"too wide", [](Psd& p) { p.width = 30001, p.data.resize(30001 * 2 * 3); }},
        {"more pixels than the file holds", [](Psd& p) { p.width = p.height = 20000; }},
        {"size overflowing 32 bits", [](Psd& p) { p.width = p.height = 0xFFFFFFFF; }},
        {"ends in the header", [](Psd&) {}, 20},
        {"ends in the sections", [](Psd&) {}, 36},
        {"ends in the data", [](Psd& p) { p.data.pop_back(); }},
        {"literal run past the end",
         [](Psd& p)
         {
             p.compression = 1, p.data = Bytes(12, 0);
             p.data.insert(p.data.end(), {5, 1, 2, 3, 4, 5, 6, 5, 1, 2, 3, 4, 5, 6, 5, 1, 2});
         }},
        {"repeat run past the channel",
         [](Psd& p)
         {
             p.compression = 1, p.data = Bytes(12, 0);
             for (int c = 0; c < 3; ++c)
                 p.data.insert(p.data.end(), {256 - 6, 7});
         }},
    };
    for (const Case& c : cases)
    {
        Psd psd = Small();
        c.edit(psd);
        Bytes bytes = psd.Serialise();
        if (c.keep)
            bytes.resize(c.keep);
        WriteFile("damaged.psd", bytes);
        CdxSurface image;
        EXPECT_EQ(image.Load(m_pScreen.get(), "damaged.psd", 2), 0) << c.what;
        EXPECT_EQ(image.m_pSurface, nullptr) << c.what;
    }
    EXPECT_TRUE(testing::TakeModalBoxes().empty());
}

} // namespace
