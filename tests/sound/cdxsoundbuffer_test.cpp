// Sound buffers from WAV files: copies that sound together, damaged and
// refused files, loops, volume and pan in the mix, and lost buffers.
#include "sound/cdxsoundbuffer.h"

#include "sound/cdxsound.h"
#include "sound/cdxsounderror.h"
#include "tests/sound/soundtest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

using namespace soundtest;

namespace
{

class SoundBufferTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_Device.Create(nullptr)); }

    // Writes a mono 16-bit sound at the mix rate and loads it.
    bool LoadRamp(CdxSoundBuffer& sound, int frames, int copies)
    {
        WriteFile("ramp.wav", Wav({}, Ramp(frames)));
        return sound.Load(&m_Device, "ramp.wav", copies);
    }

    ScratchDirectory m_Directory;
    CdxSound m_Device;
};

double Decibels(double value, double reference)
{
    return 20.0 * std::log10(value / reference);
}

TEST_F(SoundBufferTest, OneCopyDropsAPlayRequestWhileItSounds)
{
    CdxSoundBuffer sound;
    ASSERT_TRUE(LoadRamp(sound, 1000, 1));
    ASSERT_TRUE(sound.Play(0, 0));
    EXPECT_EQ(Mix(100)[198], 100);

    EXPECT_FALSE(sound.Play(0, 0));
    EXPECT_EQ(Mix(1)[0], 101) << "the sound goes on where it was";

    Mix(1000); // to its end
    EXPECT_TRUE(sound.Play(0, 0));
    EXPECT_EQ(Mix(1)[0], 1) << "played out, it starts again from the beginning";
}

TEST_F(SoundBufferTest, SeveralCopiesSoundTogetherAndTheOldestIsReused)
{
    // Copies that cannot be duplicated are read from the file again.
    for (const bool duplicate : {true, false})
    {
        SCOPED_TRACE(duplicate);
        platform::testing::RefuseSoundDuplicate(!duplicate);
        CdxSoundBuffer sound;
        ASSERT_TRUE(LoadRamp(sound, 1000, 3));
        ASSERT_TRUE(sound.Play(0, 0));
        Mix(100);
        ASSERT_TRUE(sound.Play(0, 0));
        Mix(10);
        ASSERT_TRUE(sound.Play(0, 0));
        EXPECT_EQ(Mix(1)[0], 111 + 11 + 1) << "copies 0, 1 and 2 sound at once";

        ASSERT_TRUE(sound.Play(0, 0));
        EXPECT_EQ(sound.m_nCurrent, 0);
        EXPECT_EQ(Mix(1)[0], 1 + 12 + 2) << "copy 0 was cut off and started from its beginning";
        Mix(1000);
    }
}

TEST_F(SoundBufferTest, FilesThatCannotBeReadLoadNothing)
{
    // The game's own "Sounds\\" paths are loaded in every scenario test.
    CdxSoundBuffer missing;
    EXPECT_FALSE(missing.Load(&m_Device, "Sounds\\none.wav", 1));
    EXPECT_FALSE(missing.Play(0, 0));
    EXPECT_FALSE(missing.Load(&m_Device, nullptr, 1));

    WriteFile("short.wav", Bytes(30, 0x11));
    CdxSoundBuffer shortFile;
    EXPECT_FALSE(shortFile.Load(&m_Device, "short.wav", 1));
    EXPECT_EQ(shortFile.m_Buffers[0], nullptr) << "no buffer before the header is complete";
    EXPECT_FALSE(shortFile.Play(0, 0));
    EXPECT_THROW(shortFile.SetVolume(-500), CdxSoundError);
    EXPECT_THROW(shortFile.Stop(), CdxSoundError);
    EXPECT_TRUE(IsSilent(Mix(64)));
}

TEST_F(SoundBufferTest, DataShorterThanAnnouncedIsKeptAndPlays)
{
    WavFormat format;
    format.dataSize = 4000;
    WriteFile("cut.wav", Wav(format, Ramp(500)));
    CdxSoundBuffer sound;
    EXPECT_FALSE(sound.Load(&m_Device, "cut.wav", 1));
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
        SCOPED_TRACE(channels);
        WavFormat format;
        format.channels = channels;
        format.blockAlign = channels > 1 ? 4 : 2;
        WriteFile("channels.wav", Wav(format, {1000, -2000, 1000, -2000}));
        CdxSoundBuffer sound;
        ASSERT_TRUE(sound.Load(&m_Device, "channels.wav", 1));
        ASSERT_TRUE(sound.Play(0, 0));
        const Samples mix = Mix(2);
        if (channels > 1)
            EXPECT_EQ(mix, Samples({1000, -2000, 1000, -2000}));
        else
            EXPECT_EQ(mix, Samples({1000, 1000, -2000, -2000}));
    }
}

TEST_F(SoundBufferTest, ARefusedFormatIsAnErrorNotACrash)
{
    const std::pair<std::uint16_t, std::uint32_t> refused[] = {{0, 44100}, {2, 0}, {3, 44100}};
    for (auto [blockAlign, rate] : refused)
    {
        WavFormat format;
        format.blockAlign = blockAlign;
        format.rate = rate;
        WriteFile("odd.wav", Wav(format, Ramp(8)));
        CdxSoundBuffer sound;
        EXPECT_THROW(sound.Load(&m_Device, "odd.wav", 1), CdxSoundError);
        EXPECT_FALSE(sound.Play(0, 0));
    }

    // A forged size of 4 GiB is refused before any memory is taken.
    WavFormat forged;
    forged.dataSize = 0xFFFFFFF0u;
    WriteFile("huge.wav", Wav(forged, Ramp(8)));
    CdxSoundBuffer huge;
    EXPECT_THROW(huge.Load(&m_Device, "huge.wav", 1), CdxSoundError);
}

TEST_F(SoundBufferTest, StopEndsALoopAndRewinds)
{
    CdxSoundBuffer sound;
    ASSERT_TRUE(LoadRamp(sound, 100, 2));
    ASSERT_TRUE(sound.Play(0, DSBPLAY_LOOPING));
    const Samples looped = Mix(150);
    EXPECT_EQ(looped[2 * 99], 100);
    EXPECT_EQ(looped[2 * 100], 1) << "a looping sound goes on at its start";

    EXPECT_TRUE(sound.Stop());
    EXPECT_TRUE(IsSilent(Mix(200)));
    ASSERT_TRUE(sound.Play(0, DSBPLAY_LOOPING));
    EXPECT_EQ(Mix(1)[0], 1);
}

TEST_F(SoundBufferTest, VolumeAndPanAreHeardInTheMix)
{
    WriteFile("level.wav", Wav({}, Samples(1000, 20000)));
    CdxSoundBuffer sound;
    ASSERT_TRUE(sound.Load(&m_Device, "level.wav", 1));
    sound.SetVolume(-500);
    ASSERT_TRUE(sound.Play(0, 0));
    Samples mix = Mix(1);
    EXPECT_NEAR(Decibels(mix[0], 20000), -5.0, 0.01);
    EXPECT_EQ(mix[0], mix[1]);

    sound.Stop();
    sound.SetVolume(0);
    ASSERT_TRUE(sound.Play(1000, 0)); // right of centre: the left side is 10 dB down
    mix = Mix(1);
    EXPECT_NEAR(Decibels(mix[0], 20000), -10.0, 0.01);
    EXPECT_EQ(mix[1], 20000);

    sound.Stop();
    ASSERT_TRUE(sound.Play(-10000, 0));
    mix = Mix(1);
    EXPECT_EQ(mix[0], 20000);
    EXPECT_EQ(mix[1], 0);
    sound.Stop();
    EXPECT_FALSE(sound.Play(20000, 0)) << "a pan outside the range is refused";
}

TEST_F(SoundBufferTest, LoudSoundsTogetherAreClippedNotWrapped)
{
    WriteFile("up.wav", Wav({}, Samples(100, 30000)));
    WriteFile("down.wav", Wav({}, Samples(100, -30000)));
    CdxSoundBuffer first, second, third;
    ASSERT_TRUE(first.Load(&m_Device, "up.wav", 1));
    ASSERT_TRUE(second.Load(&m_Device, "up.wav", 1));
    first.Play(0, 0);
    second.Play(0, 0);
    EXPECT_EQ(Mix(1), Samples({32767, 32767}));

    ASSERT_TRUE(first.Load(&m_Device, "down.wav", 1));
    ASSERT_TRUE(second.Load(&m_Device, "down.wav", 1));
    ASSERT_TRUE(third.Load(&m_Device, "up.wav", 1));
    first.Play(0, 0);
    second.Play(0, 0);
    EXPECT_EQ(Mix(1), Samples({-32768, -32768}));
    third.Play(0, 0);
    EXPECT_EQ(Mix(1), Samples({-30000, -30000})) << "clipped only after everything is summed";
}

TEST_F(SoundBufferTest, ALostSoundIsRestoredWhenPlayedAgain)
{
    CdxSoundBuffer sound;
    ASSERT_TRUE(LoadRamp(sound, 1000, 1));
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

class SoundBufferWithoutDevice : public ::testing::Test
{
protected:
    void SetUp() override { WriteFile("a.wav", Wav({}, Ramp(1000))); }
    ScratchDirectory m_Directory;
};

TEST_F(SoundBufferWithoutDevice, RaisesInsteadOfCallingThroughNothing)
{
    CdxSound none;
    CdxSoundBuffer sound;
    EXPECT_THROW(sound.Load(&none, "a.wav", 1), CdxSoundError);
    EXPECT_THROW(sound.Load(nullptr, "a.wav", 1), CdxSoundError);
    EXPECT_FALSE(sound.Play(0, 0));
    EXPECT_FALSE(CdxSoundBuffer().Stop());
    EXPECT_THROW(CdxSoundBuffer().SetVolume(0), CdxSoundError);
}

} // namespace
