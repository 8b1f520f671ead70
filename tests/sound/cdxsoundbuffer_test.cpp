// The sound device and its buffers from WAV files: a refused device, copies
// that sound together, damaged, short and refused files, a missing device,
// loops, lost buffers, and the game's music looping without a seam. How the
// mix treats volume, pan and loud sums is the platform's business
// (dsound_test); that a single copy drops a play request while it sounds, the
// scenario of a second bang.
#include "sound/cdxsoundbuffer.h"

#include "sound/cdxsound.h"
#include "sound/cdxsounderror.h"
#include "tests/sound/soundtest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace soundtest;

namespace
{

class SoundBufferTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_Device.Create(nullptr)); }

    bool Load(CdxSoundBuffer& sound, const Bytes& file, int copies = 1)
    {
        WriteFile("sound.wav", file);
        return sound.Load(&m_Device, "sound.wav", copies);
    }

    ScratchDirectory m_Directory;
    CdxSound m_Device;
};

TEST_F(SoundBufferTest, SeveralCopiesSoundTogetherAndTheOldestIsReused)
{
    // Copies that cannot be duplicated are read from the file again.
    for (const bool duplicate : {true, false})
    {
        SCOPED_TRACE(duplicate);
        platform::testing::RefuseSoundDuplicate(!duplicate);
        CdxSoundBuffer sound;
        ASSERT_TRUE(Load(sound, Wav({}, Ramp(1000)), 3));
        for (int gap : {100, 10, 0})
        {
            ASSERT_TRUE(sound.Play(0, 0));
            Mix(gap);
        }
        EXPECT_EQ(Mix(1)[0], 111 + 11 + 1) << "copies 0, 1 and 2 sound at once";
        ASSERT_TRUE(sound.Play(0, 0));
        EXPECT_EQ(Mix(1)[0], 1 + 12 + 2) << "copy 0 was cut off and started from its beginning";
        Mix(1000);
    }
}

TEST_F(SoundBufferTest, DamagedOrRefusedFilesLoadNothingPlayable)
{
    // The game's own "Sounds\\" paths are loaded in every scenario test.
    CdxSoundBuffer missing;
    EXPECT_FALSE(missing.Load(&m_Device, "Sounds\\none.wav", 1) || missing.Play(0, 0));
    EXPECT_FALSE(missing.Load(&m_Device, nullptr, 1));

    CdxSoundBuffer shortFile;
    EXPECT_FALSE(Load(shortFile, Bytes(30, 0x11)));
    EXPECT_FALSE(shortFile.Play(0, 0));
    EXPECT_THROW(shortFile.SetVolume(-500), CdxSoundError);
    EXPECT_TRUE(Mix(64) == Samples(128));

    // The last: a forged size of 4 GiB is refused before any memory is taken.
    WavFormat refused[4];
    refused[0].blockAlign = 0, refused[1].rate = 0, refused[2].blockAlign = 3;
    refused[3].dataSize = 0xFFFFFFF0u;
    for (const WavFormat& format : refused)
    {
        CdxSoundBuffer sound;
        EXPECT_THROW(Load(sound, Wav(format, Ramp(8))), CdxSoundError);
        EXPECT_FALSE(sound.Play(0, 0));
    }
    // Without a device it raises instead of calling through nothing.
    CdxSound none;
    WriteFile("sound.wav", Wav({}, Ramp(8)));
    EXPECT_THROW(shortFile.Load(&none, "sound.wav", 1), CdxSoundError);
    EXPECT_THROW(shortFile.Load(nullptr, "sound.wav", 1), CdxSoundError);
    EXPECT_FALSE(CdxSoundBuffer().Stop());

    // Data shorter than announced is kept, reported, and plays; the rest is silent.
    CdxSoundBuffer shorter;
    refused[0] = WavFormat{};
    refused[0].dataSize = 4000;
    EXPECT_FALSE(Load(shorter, Wav(refused[0], Ramp(500))));
    ASSERT_TRUE(shorter.Play(0, 0));
    const Samples mix = Mix(2000);
    EXPECT_TRUE(mix[2 * 499] == 500 && mix[2 * 500] == 0);
}

TEST_F(SoundBufferTest, MoreThanOneChannelMakesAStereoBuffer)
{
    for (std::uint16_t channels : {0, 1, 2, 3})
    {
        WavFormat format;
        format.channels = channels;
        format.blockAlign = channels > 1 ? 4 : 2;
        CdxSoundBuffer sound;
        ASSERT_TRUE(Load(sound, Wav(format, {1000, -2000, 1000, -2000})) && sound.Play(0, 0));
        const Samples stereo{1000, -2000, 1000, -2000}, mono{1000, 1000, -2000, -2000};
        EXPECT_EQ(Mix(2), channels > 1 ? stereo : mono) << channels;
    }
}

TEST_F(SoundBufferTest, LoopsStopAndRewindAndLostSoundsAreRestored)
{
    CdxSoundBuffer sound;
    ASSERT_TRUE(Load(sound, Wav({}, Ramp(100))));
    ASSERT_TRUE(sound.Play(0, 0));
    Mix(200);
    ASSERT_TRUE(sound.Play(0, DSBPLAY_LOOPING)); // played out: from its start again
    EXPECT_EQ(Mix(150)[2 * 100], 1) << "a looping sound goes on at its start";
    Mix(10);
    platform::testing::LoseSoundBuffers();
    EXPECT_TRUE(Mix(10) == Samples(20));
    ASSERT_TRUE(sound.Play(0, DSBPLAY_LOOPING));
    EXPECT_EQ(Mix(1)[0], 61) << "restored with its samples, where it was";

    EXPECT_TRUE(sound.Stop());
    EXPECT_TRUE(Mix(200) == Samples(400));
    ASSERT_TRUE(sound.Play(DSBPAN_LEFT, 0));
    EXPECT_EQ(Mix(1), Samples({1, 0})) << "stopped, it starts from the beginning";
    sound.Stop();
    EXPECT_FALSE(sound.Play(20000, 0)) << "a pan outside the range is refused";
}

TEST(CdxSound, ARefusedDeviceIsRaisedARefusedCooperativeLevelOnlyReported)
{
    platform::testing::RefuseSoundDevice(true);
    CdxSound refused;
    EXPECT_THROW(refused.Create(nullptr), CdxSoundError);
    platform::testing::RefuseSoundDevice(false);

    platform::testing::RefuseSoundCooperativeLevel(true);
    CdxSound shared;
    EXPECT_TRUE(shared.Create(nullptr) && shared.GetDS() != nullptr);
    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "DirectSound Error DSERR_NODRIVER");
    EXPECT_EQ(boxes[1].text, "DirectSound Error DSERR_ALLOCATED");
}

// That each sound loads and plays is seen in the games the app tests play.
TEST(GameSounds, TheMusicLoopsWithoutAJump)
{
    const std::string path = std::string(TZ_GAME_SOUNDS) + "/Cascade.wav";
    CdxSound device;
    ASSERT_TRUE(device.Create(nullptr));
    CdxSoundBuffer music;
    ASSERT_TRUE(music.Load(&device, path.c_str(), 1) && music.Play(0, DSBPLAY_LOOPING));
    // 16-bit mono at 22050 Hz: twice as many frames in the mix.
    const auto frames = static_cast<int>(std::filesystem::file_size(path) - 44);
    const Samples mix = Mix(frames + 1);
    double steps = 0;
    for (int i = 1; i < frames; ++i)
        steps += std::abs(mix[2 * i] - mix[2 * i - 2]);
    const int seam = std::abs(mix[2 * frames] - mix[2 * frames - 2]);
    EXPECT_LT(seam, 4 * steps / frames) << "no larger a step than the music itself takes";
}

} // namespace
