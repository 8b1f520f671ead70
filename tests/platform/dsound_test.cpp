// The software sound device: refusals, locks that wrap, conversion for the
// mix, duplicates, and volume, pan and clipping in the mix.
#include "platform/dsound/dsound.h"

#include "tests/sound/soundtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

using namespace soundtest;

namespace
{

class DirectSoundTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(DirectSoundCreate(nullptr, &m_pDevice, nullptr), DS_OK); }
    void TearDown() override { m_pDevice->Release(); }

    HRESULT Create(WAVEFORMATEX format, DWORD bytes, IDirectSoundBuffer** buffer,
                   DWORD flags = DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME)
    {
        DSBUFFERDESC desc{DSBUFFERDESC1_SIZE, flags, bytes, 0, &format};
        return m_pDevice->CreateSoundBuffer(&desc, buffer, nullptr);
    }

    IDirectSound* m_pDevice = nullptr;
};

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits)
{
    const WORD align = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

TEST_F(DirectSoundTest, RefusesFormatsSizesAndControlsItCannotPlay)
{
    IDirectSoundBuffer* buffer = nullptr;
    WAVEFORMATEX twelveBits = Pcm(1, 22050, 16), notPcm = Pcm(1, 22050, 16);
    twelveBits.wBitsPerSample = 12;
    notPcm.wFormatTag = 3;
    for (HRESULT refused :
         {Create(twelveBits, 100, &buffer), Create(notPcm, 100, &buffer),
          Create(Pcm(3, 22050, 16), 600, &buffer), Create(Pcm(1, 99, 16), 100, &buffer)})
        EXPECT_EQ(refused, DSERR_BADFORMAT);
    EXPECT_EQ(Create(Pcm(1, 22050, 16), DSBSIZE_MIN - 1, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Pcm(1, 22050, 8), DSBSIZE_MAX + 1, &buffer), DSERR_INVALIDPARAM);
    platform::testing::RefuseSoundBuffer(true);
    EXPECT_EQ(Create(Pcm(1, 22050, 16), 100, &buffer), DSERR_OUTOFMEMORY);
    EXPECT_EQ(buffer, nullptr);
    platform::testing::RefuseSoundBuffer(false);

    ASSERT_EQ(Create(Pcm(2, 44100, 16), 400, &buffer), DS_OK);
    for (HRESULT refused :
         {buffer->SetVolume(1), buffer->SetVolume(DSBVOLUME_MIN - 1),
          buffer->SetPan(DSBPAN_RIGHT + 1), buffer->SetCurrentPosition(400), buffer->Play(1, 0, 0)})
        EXPECT_EQ(refused, DSERR_INVALIDPARAM);
    // Locked from the play position, what runs past the end goes on at the start.
    ASSERT_EQ(buffer->SetCurrentPosition(388), DS_OK);
    LPVOID first = nullptr, second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    ASSERT_EQ(
        buffer->Lock(0, 30, &first, &firstBytes, &second, &secondBytes, DSBLOCK_FROMWRITECURSOR),
        DS_OK);
    EXPECT_TRUE(firstBytes == 12 && secondBytes == 18 &&
                static_cast<BYTE*>(first) - static_cast<BYTE*>(second) == 388);
    EXPECT_EQ(buffer->Unlock(first, firstBytes + 1, second, secondBytes), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    buffer->Release();
    ASSERT_EQ(Create(Pcm(2, 44100, 16), 400, &buffer, DSBCAPS_STATIC), DS_OK);
    EXPECT_EQ(buffer->SetPan(0), DSERR_CONTROLUNAVAIL);
    buffer->Release();
}

// A duplicate shares the samples: what is written through the original after
// the copy was made is heard from the copy.
TEST_F(DirectSoundTest, OnlyTheBytesWrittenAreConvertedAtTheirRateAndHeardInDuplicates)
{
    IDirectSoundBuffer *buffer = nullptr, *duplicate = nullptr;
    ASSERT_EQ(Create(Pcm(1, 100, 8), DSBSIZE_MAX, &buffer), DS_OK);
    ASSERT_EQ(m_pDevice->DuplicateSoundBuffer(buffer, &duplicate), DS_OK);
    LPVOID data = nullptr;
    DWORD length = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &data, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    ASSERT_EQ(length, DSBSIZE_MAX);
    static_cast<BYTE*>(data)[0] = 192;
    ASSERT_EQ(buffer->Unlock(data, 1, nullptr, 0), DS_OK);
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    const Samples mix = Mix(500);
    EXPECT_EQ(mix[2 * 440], 64 * 256) << "one frame at 100 Hz lasts 441 frames of the mix";
    EXPECT_EQ(mix[2 * 441], 0) << "what was not written is silent";
    duplicate->Release();
    // Written in full, the same buffer would take far too much once converted.
    EXPECT_EQ(buffer->Unlock(data, length, nullptr, 0), DSERR_OUTOFMEMORY);
    buffer->Release();
}

// Volume and pan in hundredths of a decibel turn a side down by their amount;
// the sum of all buffers is clipped, never wrapped round.
TEST_F(DirectSoundTest, VolumePanAndLoudSumsAreHeardInTheMix)
{
    std::vector<IDirectSoundBuffer*> buffers;
    for (std::int16_t level : {20000, 30000, 30000, -30000, -30000})
    {
        buffers.push_back(nullptr);
        ASSERT_EQ(Create(Pcm(1, 44100, 16), 200, &buffers.back()), DS_OK);
        LPVOID data = nullptr;
        DWORD length = 0;
        ASSERT_EQ(buffers.back()->Lock(0, 200, &data, &length, nullptr, nullptr, 0), DS_OK);
        std::fill_n(static_cast<std::int16_t*>(data), 100, level);
        ASSERT_EQ(buffers.back()->Unlock(data, length, nullptr, 0), DS_OK);
    }
    // The buffers playing, buffer 0's volume and pan, and the mix's left and right.
    const std::tuple<std::vector<int>, LONG, LONG, int, int> cases[] = {
        {{0}, -500, 0, 11247, 11247}, // 20000 at -5 dB
        {{0}, 0, 1000, 6325, 20000},  // right of centre: the left side 10 dB down
        {{0}, 0, DSBPAN_LEFT, 20000, 0},   {{0}, DSBVOLUME_MIN, 0, 0, 0},
        {{1, 2}, 0, 0, 32767, 32767},      {{3, 4}, 0, 0, -32768, -32768},
        {{1, 3, 4}, 0, 0, -30000, -30000},
    };
    for (const auto& [playing, volume, pan, left, right] : cases)
    {
        SCOPED_TRACE(testing::Message() << volume << ", " << pan << ", " << left);
        ASSERT_EQ(buffers[0]->SetVolume(volume), DS_OK);
        ASSERT_EQ(buffers[0]->SetPan(pan), DS_OK);
        for (int i : playing)
            buffers[i]->Play(0, 0, 0);
        const Samples mix = Mix(1);
        EXPECT_TRUE(std::abs(mix[0] - left) <= 8 && std::abs(mix[1] - right) <= 8)
            << mix[0] << "," << mix[1];
        for (IDirectSoundBuffer* buffer : buffers)
            buffer->Stop();
    }
    // Played to its end, a sound that does not loop stops by itself.
    DWORD status = DSBSTATUS_PLAYING;
    ASSERT_EQ(buffers[0]->Play(0, 0, 0), DS_OK);
    Mix(101);
    EXPECT_TRUE(buffers[0]->GetStatus(&status) == DS_OK && status == 0);
    for (IDirectSoundBuffer* buffer : buffers)
        buffer->Release();
}

} // namespace
