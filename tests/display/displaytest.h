// Shared by the display tests: a 640 x 480 x 16 screen on the headless
// platform, a scratch working directory, and Photoshop files made to order.
#pragma once

#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "platform/testing/testing.h"
#include "platform/win32/pixelbuffer.h"
#include "tests/platform/testfiles.h"
#include "tests/support/scratchdirectory.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

namespace displaytest
{

using testfiles::Bytes;
using testfiles::WriteFile;
constexpr std::uint32_t GREEN = 0x0100;

// Raw planar data of an image whose channel c at (x, y) is value(x, y, c).
inline Bytes Planar(int width, int height, int channels,
                    const std::function<std::uint8_t(int, int, int)>& value)
{
    Bytes out;
    for (int i = 0; i < channels * height * width; ++i)
        out.push_back(value(i % width, i / width % height, i / (width * height)));
    return out;
}

// A Photoshop document: header fields, the three skipped sections (with five
// bytes of image resources to skip), the compression word, then `data`.
struct Psd
{
    std::uint16_t version = 1, channels = 3;
    std::uint32_t height = 0, width = 0;
    std::uint16_t depth = 8, mode = 3, compression = 0;
    Bytes data;

    Bytes Serialise() const
    {
        // Big-endian fields as (value, bytes), after the signature "8BPS".
        const std::pair<std::uint32_t, int> fields[] = {
            {0x38425053, 4}, {version, 2},    {0, 4},     {0, 2},    {channels, 2},
            {height, 4},     {width, 4},      {depth, 2}, {mode, 2}, {0, 4},
            {5, 4},          {0x01020304, 4}, {5, 1},     {0, 4},    {compression, 2}};
        Bytes out;
        for (const auto& [value, size] : fields)
            for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
                out.push_back(static_cast<std::uint8_t>(value >> shift));
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
};

// A freshly created full screen, in a scratch working directory.
class DisplayTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(m_pScreen->CreateFullScreen(nullptr, 640, 480, 16, 0), 1); }

    CdxSurface* Back() { return m_pScreen->m_pBackSurface; }
    std::uint32_t BackPixel(int x, int y)
    {
        return platform::testing::ReadPixel(Back()->m_pSurface, x, y);
    }
    // Writes the document to the file and loads it into a new surface.
    std::unique_ptr<CdxSurface> LoadPsd(const Psd& psd, const char* name = "picture.psd")
    {
        WriteFile(name, psd.Serialise());
        auto image = std::make_unique<CdxSurface>();
        m_nLoadResult = image->Load(m_pScreen.get(), name, 2);
        return image;
    }

    ScratchDirectory m_Directory;
    std::unique_ptr<CdxScreen> m_pScreen = std::make_unique<CdxScreen>();
    int m_nLoadResult = -1;
};

} // namespace displaytest
