#include "platform/dsound/dsound.h"

#include "tests/sound/soundtest.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace soundtest;

namespace
{

class DirectSoundTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(DirectSoundCreate(nullptr, &m_pDevice, nullptr), DS_OK); }
    void TearDown() override
    {
        if (m_pDevice != nullptr)
            m_pDevice->Release();
    }

    HRESULT Create(WAVEFORMATEX format, DWORD bytes, IDirectSoundBuffer** buffer,
                   DWORD flags = DSBCAPS_STATIC | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME)
    {
        DSBUFFERDESC desc{DSBUFFERDESC1_SIZE, flags, bytes, 0, &format};
        return m_pDevice->CreateSoundBuffer(&desc, buffer, nullptr);
    }

    // A buffer filled with the given bytes.
    IDirectSoundBuffer* Filled(const WAVEFORMATEX& format, const Bytes& bytes)
    {
        IDirectSoundBuffer* buffer = nullptr;
        const auto size = static_cast<DWORD>(bytes.size());
        EXPECT_EQ(Create(format, size, &buffer), DS_OK);
        LPVOID data = nullptr;
        DWORD length = 0;
        EXPECT_EQ(buffer->Lock(0, size, &data, &length, nullptr, nullptr, 0), DS_OK);
        std::memcpy(data, bytes.data(), length);
        EXPECT_EQ(buffer->Unlock(data, length, nullptr, 0), DS_OK);
        return buffer;
    }

    IDirectSound* m_pDevice = nullptr;
};

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits)
{
    const WORD align = static_cast<WORD>(channels * bits / 8);
    return {WAVE_FORMAT_PCM, channels, rate, rate * align, align, bits, 0};
}

TEST_F(DirectSoundTest, RefusesFormatsAndSizesItCannotPlay)
{
    IDirectSoundBuffer* buffer = nullptr;
    WAVEFORMATEX twelveBits = Pcm(1, 22050, 16);
    twelveBits.wBitsPerSample = 12;
    WAVEFORMATEX notPcm = Pcm(1, 22050, 16);
    notPcm.wFormatTag = 3;
    for (HRESULT refused :
         {Create(twelveBits, 100, &buffer), Create(notPcm, 100, &buffer),
          Create(Pcm(3, 22050, 16), 600, &buffer), Create(Pcm(1, 99, 16), 100, &buffer)})
        EXPECT_EQ(refused, DSERR_BADFORMAT);
    EXPECT_EQ(Create(Pcm(1, 22050, 16), DSBSIZE_MIN - 1, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(Create(Pcm(1, 22050, 8), DSBSIZE_MAX + 1, &buffer), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer, nullptr);

    WAVEFORMATEX format = Pcm(1, 22050, 16);
    DSBUFFERDESC wrongSize{24, DSBCAPS_STATIC, 100, 0, &format};
    EXPECT_EQ(m_pDevice->CreateSoundBuffer(&wrongSize, &buffer, nullptr), DSERR_INVALIDPARAM);
    platform::testing::RefuseSoundBuffer(true);
    EXPECT_EQ(Create(format, 100, &buffer), DSERR_OUTOFMEMORY);
    EXPECT_EQ(buffer, nullptr);
}

TEST_F(DirectSoundTest, LockFromThePlayPositionWrapsIntoTwoRegions)
{
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(Create(Pcm(1, 44100, 16), 100, &buffer), DS_OK);
    ASSERT_EQ(buffer->SetCurrentPosition(90), DS_OK);
    LPVOID first = nullptr, second = nullptr;
    DWORD firstBytes = 0, secondBytes = 0;
    ASSERT_EQ(
        buffer->Lock(0, 30, &first, &firstBytes, &second, &secondBytes, DSBLOCK_FROMWRITECURSOR),
        DS_OK);
    EXPECT_EQ(firstBytes, 10u);
    EXPECT_EQ(secondBytes, 20u);
    EXPECT_EQ(static_cast<BYTE*>(first) - static_cast<BYTE*>(second), 90);
    EXPECT_EQ(buffer->Unlock(first, firstBytes + 1, second, secondBytes), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_EQ(buffer->Lock(0, 101, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST_F(DirectSoundTest, EightBitsAtHalfTheRateAreConvertedForTheMix)
{
    IDirectSoundBuffer* buffer = Filled(Pcm(1, 22050, 8), Bytes(50, 192));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const Samples mix = Mix(120);
    EXPECT_EQ(mix[0], 64 * 256);
    EXPECT_EQ(mix[2 * 99 + 1], 64 * 256) << "50 frames at half the rate last 100 frames";
    EXPECT_EQ(mix[2 * 100], 0);

    DWORD status = 0;
    buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u) << "played to its end, the buffer stops by itself";
    buffer->Release();
}

TEST_F(DirectSoundTest, OnlyTheBytesWrittenAreConvertedForTheMix)
{
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(Create(Pcm(1, 100, 8), DSBSIZE_MAX, &buffer), DS_OK);
    LPVOID data = nullptr;
    DWORD length = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &data, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
    ASSERT_EQ(length, DSBSIZE_MAX);
    static_cast<BYTE*>(data)[0] = 192;
    ASSERT_EQ(buffer->Unlock(data, 1, nullptr, 0), DS_OK);

    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const Samples mix = Mix(500);
    EXPECT_EQ(mix[2 * 440], 64 * 256) << "one frame at 100 Hz lasts 441 frames of the mix";
    EXPECT_EQ(mix[2 * 441], 0) << "what was not written is silent";
    DWORD status = 0;
    buffer->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING);

    // Written in full, the same buffer would take far too much once converted.
    EXPECT_EQ(buffer->Unlock(data, length, nullptr, 0), DSERR_OUTOFMEMORY);
    buffer->Release();
}

TEST_F(DirectSoundTest, DuplicatesShareSamplesButNotTheirPlayState)
{
    IDirectSoundBuffer* original = Filled(Pcm(1, 44100, 16), Pcm16(Ramp(100)));
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(m_pDevice->DuplicateSoundBuffer(original, &duplicate), DS_OK);

    // New samples written through the original are heard from the duplicate.
    LPVOID data = nullptr;
    DWORD length = 0;
    ASSERT_EQ(original->Lock(0, 2, &data, &length, nullptr, nullptr, 0), DS_OK);
    std::memset(data, 0x10, length);
    ASSERT_EQ(original->Unlock(data, length, nullptr, 0), DS_OK);

    ASSERT_EQ(duplicate->SetVolume(DSBVOLUME_MIN), DS_OK);
    ASSERT_EQ(original->Play(0, 0, 0), DS_OK);
    Mix(5);
    EXPECT_EQ(Mix(1)[0], 6) << "the silent duplicate is not playing";
    ASSERT_EQ(duplicate->SetVolume(DSBVOLUME_MAX), DS_OK);
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(1)[0], 7 + 0x1010);

    // Both keep the device, and each other's samples, alive.
    m_pDevice->Release();
    m_pDevice = nullptr;
    original->Release();
    EXPECT_EQ(Mix(1)[0], 2);
    duplicate->Release();
    EXPECT_TRUE(IsSilent(Mix(1)));
}

// Volume and pan in hundredths of a decibel turn a side down by their amount;
// the sum of all buffers is clipped, never wrapped round.
TEST_F(DirectSoundTest, VolumePanAndLoudSumsAreHeardInTheMix)
{
    std::vector<IDirectSoundBuffer*> buffers;
    for (std::int16_t level : {20000, 30000, 30000, -30000, -30000})
        buffers.push_back(Filled(Pcm(1, 44100, 16), Pcm16(Samples(100, level))));
    struct Case
    {
        std::vector<int> playing;
        LONG volume, pan;
        int left, right;
    };
    const Case cases[] = {
        {{0}, -500, 0, 11247, 11247}, // 20000 at -5 dB
        {{0}, 0, 1000, 6325, 20000},  // right of centre: the left side 10 dB down
        {{0}, 0, DSBPAN_LEFT, 20000, 0},   {{0}, DSBVOLUME_MIN, 0, 0, 0},
        {{1, 2}, 0, 0, 32767, 32767},      {{3, 4}, 0, 0, -32768, -32768},
        {{1, 3, 4}, 0, 0, -30000, -30000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.volume << ", " << c.pan << ", " << c.left);
        ASSERT_EQ(buffers[0]->SetVolume(c.volume), DS_OK);
        ASSERT_EQ(buffers[0]->SetPan(c.pan), DS_OK);
        for (int i : c.playing)
            buffers[i]->Play(0, 0, 0);
        const Samples mix = Mix(1);
        EXPECT_NEAR(mix[0], c.left, 8);
        EXPECT_NEAR(mix[1], c.right, 8);
        for (IDirectSoundBuffer* buffer : buffers)
            buffer->Stop();
    }
    for (IDirectSoundBuffer* buffer : buffers)
        buffer->Release();
}

TEST_F(DirectSoundTest, ControlsCheckTheirRangeAndTheirCapability)
{
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(Create(Pcm(2, 44100, 16), 400, &buffer), DS_OK);
    for (HRESULT refused :
         {buffer->SetVolume(1), buffer->SetVolume(DSBVOLUME_MIN - 1),
          buffer->SetPan(DSBPAN_RIGHT + 1), buffer->SetCurrentPosition(400), buffer->Play(1, 0, 0)})
        EXPECT_EQ(refused, DSERR_INVALIDPARAM);
    buffer->Release();

    ASSERT_EQ(Create(Pcm(2, 44100, 16), 400, &buffer, DSBCAPS_STATIC), DS_OK);
    EXPECT_EQ(buffer->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(buffer->SetPan(0), DSERR_CONTROLUNAVAIL);

    EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    DWORD status = 0;
    buffer->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    buffer->Release();
}

} // namespace
