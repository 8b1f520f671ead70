// Sound buffers from WAV files: copies that sound together, damaged and
// refused files, loops, and lost buffers. How the mix treats volume, pan and
// loud sums is the device's business (dsound_test); that a single copy drops
// a play request while it sounds, the scenario of a second bang.
#include "sound/cdxsoundbuffer.h"

#include "sound/cdxsound.h"
#include "sound/cdxsounderror.h"
#include "tests/sound/soundtest.h"

#include <gtest/gtest.h>

#include <regex>

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
        EXPECT_EQ(sound.m_nCurrent, 0);
        EXPECT_EQ(Mix(1)[0], 1 + 12 + 2) << "copy 0 was cut off and started from its beginning";
        Mix(1000);
    }
}

TEST_F(SoundBufferTest, DamagedOrRefusedFilesLoadNothingPlayable)
{
    // The game's own "Sounds\\" paths are loaded in every scenario test.
    CdxSoundBuffer missing;
    EXPECT_FALSE(missing.Load(&m_Device, "Sounds\\none.wav", 1));
    EXPECT_FALSE(missing.Play(0, 0));
    EXPECT_FALSE(missing.Load(&m_Device, nullptr, 1));

    CdxSoundBuffer shortFile;
    EXPECT_FALSE(Load(shortFile, Bytes(30, 0x11)));
    EXPECT_EQ(shortFile.m_Buffers[0], nullptr) << "no buffer before the header is complete";
    EXPECT_FALSE(shortFile.Play(0, 0));
    EXPECT_THROW(shortFile.SetVolume(-500), CdxSoundError);
    EXPECT_THROW(shortFile.Stop(), CdxSoundError);
    EXPECT_TRUE(IsSilent(Mix(64)));

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
}

TEST_F(SoundBufferTest, DataShorterThanAnnouncedIsKeptAndPlays)
{
    WavFormat format;
    format.dataSize = 4000;
    CdxSoundBuffer sound;
    EXPECT_FALSE(Load(sound, Wav(format, Ramp(500))));
    ASSERT_NE(sound.m_Buffers[0], nullptr);
    const auto lines = platform::testing::TakeDebugOutput();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines[0], std::regex("Data1 : -?\\d+, dwdata: 4000, fp: -?\\d+")))
        << lines[0];

    ASSERT_TRUE(sound.Play(0, 0));
    const Samples mix = Mix(2000);
    EXPECT_EQ(mix[2 * 499], 500);
    EXPECT_EQ(mix[2 * 500], 0) << "the rest of the buffer stays silent";
}

TEST_F(SoundBufferTest, MoreThanOneChannelMakesAStereoBuffer)
{
    for (std::uint16_t channels : {0, 1, 2, 3})
    {
        WavFormat format;
        format.channels = channels;
        format.blockAlign = channels > 1 ? 4 : 2;
        CdxSoundBuffer sound;
        ASSERT_TRUE(Load(sound, Wav(format, {1000, -2000, 1000, -2000})));
        ASSERT_TRUE(sound.Play(0, 0));
        EXPECT_EQ(Mix(2), channels > 1 ? Samples({1000, -2000, 1000, -2000})
                                       : Samples({1000, 1000, -2000, -2000}))
            << channels;
    }
}

TEST_F(SoundBufferTest, LoopsStopAndRewindVolumeAndPanReachTheMix)
{
    CdxSoundBuffer sound;
    ASSERT_TRUE(Load(sound, Wav({}, Ramp(100))));
    ASSERT_TRUE(sound.Play(0, 0));
    Mix(200);
    ASSERT_TRUE(sound.Play(0, DSBPLAY_LOOPING)); // played out: from its start again
    const Samples looped = Mix(150);
    EXPECT_EQ(looped[0], 1);
    EXPECT_EQ(looped[2 * 100], 1) << "a looping sound goes on at its start";

    EXPECT_TRUE(sound.Stop());
    EXPECT_TRUE(IsSilent(Mix(200)));
    sound.SetVolume(DSBVOLUME_MIN);
    ASSERT_TRUE(sound.Play(0, 0));
    EXPECT_TRUE(IsSilent(Mix(1)));
    sound.Stop();
    sound.SetVolume(0);
    ASSERT_TRUE(sound.Play(DSBPAN_LEFT, 0));
    EXPECT_EQ(Mix(1), Samples({1, 0})) << "stopped, it starts from the beginning";
    sound.Stop();
    EXPECT_FALSE(sound.Play(20000, 0)) << "a pan outside the range is refused";
}

TEST_F(SoundBufferTest, ALostSoundIsRestoredWhenPlayedAgain)
{
    CdxSoundBuffer sound;
    ASSERT_TRUE(Load(sound, Wav({}, Ramp(1000))));
    ASSERT_TRUE(sound.Play(0, DSBPLAY_LOOPING));
    Mix(10);
    platform::testing::LoseSoundBuffers();
    EXPECT_TRUE(IsSilent(Mix(10)));

    ASSERT_TRUE(sound.Play(0, DSBPLAY_LOOPING));
    DWORD status = 0;
    sound.m_Buffers[0]->GetStatus(&status);
    EXPECT_EQ(status & DSBSTATUS_BUFFERLOST, 0u);
    EXPECT_EQ(Mix(1)[0], 11) << "the samples survive the loss";
}

TEST(SoundBufferWithoutDevice, RaisesInsteadOfCallingThroughNothing)
{
    ScratchDirectory directory;
    WriteFile("a.wav", Wav({}, Ramp(1000)));
    CdxSound none;
    CdxSoundBuffer sound;
    EXPECT_THROW(sound.Load(&none, "a.wav", 1), CdxSoundError);
    EXPECT_THROW(sound.Load(nullptr, "a.wav", 1), CdxSoundError);
    EXPECT_FALSE(sound.Play(0, 0));
    EXPECT_FALSE(CdxSoundBuffer().Stop());
    EXPECT_THROW(CdxSoundBuffer().SetVolume(0), CdxSoundError);
}

} // namespace
