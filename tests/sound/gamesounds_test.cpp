// The game's music: a loop with no audible seam where it starts again.
#include "sound/cdxsound.h"
#include "sound/cdxsoundbuffer.h"
#include "tests/sound/soundtest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace soundtest;

// That each sound loads and plays is seen in the games the app tests play.
TEST(GameSounds, TheMusicLoopsWithoutAJump)
{
    const std::string path = std::string(TZ_GAME_SOUNDS) + "/Cascade.wav";
    CdxSound device;
    ASSERT_TRUE(device.Create(nullptr));
    CdxSoundBuffer music;
    ASSERT_TRUE(music.Load(&device, path.c_str(), 1));
    ASSERT_TRUE(music.Play(0, DSBPLAY_LOOPING));

    // 16-bit mono at 22050 Hz: twice as many frames in the mix.
    const auto frames = static_cast<int>(std::filesystem::file_size(path) - 44);
    const Samples mix = Mix(frames + 1);
    double steps = 0;
    for (int i = 1; i < frames; ++i)
        steps += std::abs(mix[2 * i] - mix[2 * i - 2]);
    const int seam = std::abs(mix[2 * frames] - mix[2 * frames - 2]);
    EXPECT_LT(seam, 4 * steps / frames) << "no larger a step than the music itself takes";
}
