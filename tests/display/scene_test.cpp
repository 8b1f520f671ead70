// The check of mended frames: an image whose pixels change behind the
// recording's back (written through a read-only lock, so that its uniqueness
// stays) is caught at the next mended frame, by the screen's name and the
// first pixel; without the check the old pixels stay. A scene that does not
// begin by covering the back buffer is never kept. The scenario tests mend
// every screen of the game.
#include "displaytest.h"

#include "display/cscenecache.h"

#include <cstdlib>

namespace
{

using namespace displaytest;

using SceneTest = DisplayTest;

TEST_F(SceneTest, PixelsChangedBehindTheRecordingsBackAreCaughtAtTheNextMendedFrame)
{
    auto image = LoadPsd({.height = 8,
                          .width = 8,
                          .data = Planar(8, 8, 3, [](int, int, int c) { return 40 + 60 * c; })});
    const std::uint32_t drawn = platform::testing::ReadPixel(image->m_pSurface, 0, 0);
    const auto frames = [&](CSceneCache& cache, bool fill, int count)
    {
        for (int frame = 0; frame < count; ++frame)
        {
            cache.Compose(m_pScreen.get(), "test screen",
                          [&]
                          {
                              if (fill)
                                  m_pScreen->Fill(GREEN);
                              image->DrawFast(10, 20, Back());
                          });
            cache.Flipped(m_pScreen.get(), m_pScreen->Flip(1));
        }
    };
    const auto overwrite = [&]
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof(desc);
        ASSERT_EQ(image->m_pSurface->Lock(nullptr, &desc, DDLOCK_READONLY, nullptr), DD_OK);
        static_cast<std::uint8_t*>(desc.lpSurface)[3 * desc.lPitch + 2 * 5] ^= 0xFF;
        image->m_pSurface->Unlock(nullptr);
    };

    CSceneCache checked;
    frames(checked, true, 5);
    EXPECT_GT(checked.Mended(), 0);
    overwrite();
    try
    {
        frames(checked, true, 1);
        ADD_FAILURE() << "not caught";
    }
    catch (const CSceneCache::Stale& stale)
    {
        EXPECT_STREQ(stale.what(), "The mended frame of the test screen differs from the frame "
                                   "drawn whole, first at (15, 23).");
    }
    overwrite();

    setenv("TZ_CHECK_MENDED_FRAMES", "0", 1);
    CSceneCache unchecked, unfilled;
    setenv("TZ_CHECK_MENDED_FRAMES", "1", 1);
    frames(unchecked, true, 5);
    overwrite();
    frames(unchecked, true, 1);
    EXPECT_EQ(BackPixel(15, 23), drawn) << "stale";
    frames(unfilled, false, 6);
    EXPECT_EQ(unfilled.Mended(), 0);
}

} // namespace
