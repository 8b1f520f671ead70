// Mixing the playing voices of the sound buffers into 16-bit frames.
#include "platform/dsound/audiomixer.h"

#include "platform/present/display.h"
#include "platform/win32/testseams.h"

#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

std::vector<AudioMixer*>& LiveMixers()
{
    static std::vector<AudioMixer*> mixers;
    return mixers;
}

// To the nearest sample (halves away from zero), without a library call per sample.
std::int16_t Clip(float value)
{
    const float clipped = std::clamp(value, -32768.0f, 32767.0f);
    return static_cast<std::int16_t>(clipped + std::copysign(0.5f, clipped));
}

} // namespace

AudioMixer::Guard::Guard(AudioMixer& mixer) : m_Mixer(mixer)
{
    if (m_Mixer.m_pDevice)
        m_Mixer.m_pDevice->Lock();
}

AudioMixer::Guard::~Guard()
{
    if (m_Mixer.m_pDevice)
        m_Mixer.m_pDevice->Unlock();
}

AudioMixer::AudioMixer(int rate) : m_nRate(rate)
{
    LiveMixers().push_back(this);
}

std::unique_ptr<AudioMixer> AudioMixer::Open()
{
    if (TestSeams::Get().headless)
        return std::unique_ptr<AudioMixer>(new AudioMixer(testing::kMixRate));
    std::unique_ptr<AudioMixer> mixer(new AudioMixer(0));
    mixer->m_pDevice = Display::Instance().OpenAudio(&AudioMixer::Fill, mixer.get());
    if (!mixer->m_pDevice)
        return nullptr;
    mixer->m_nRate = mixer->m_pDevice->Rate();
    return mixer;
}

AudioMixer::~AudioMixer()
{
    // The device stops calling before the voices it reads go away.
    m_pDevice.reset();
    auto& live = LiveMixers();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

const std::vector<AudioMixer*>& AudioMixer::Live()
{
    return LiveMixers();
}

void AudioMixer::Add(Voice* voice)
{
    Guard guard(*this);
    m_Voices.push_back(voice);
}

void AudioMixer::Remove(Voice* voice)
{
    Guard guard(*this);
    m_Voices.erase(std::remove(m_Voices.begin(), m_Voices.end(), voice), m_Voices.end());
}

void AudioMixer::Fill(void* mixer, std::int16_t* out, int frames, int channels)
{
    static_cast<AudioMixer*>(mixer)->Mix(out, frames, channels);
}

void AudioMixer::Mix(std::int16_t* out, int frames, int channels)
{
    // Silence costs nothing: the device asks all the time, sounds or not.
    if (std::none_of(m_Voices.begin(), m_Voices.end(), [](const Voice* v) { return v->playing; }))
    {
        std::fill_n(out, static_cast<std::size_t>(frames) * channels, std::int16_t{0});
        return;
    }
    while (frames > 0)
    {
        const int count = std::min(frames, kChunkFrames);
        MixChunk(count);
        for (int i = 0; i < count; ++i)
        {
            const float left = m_Sum[2 * i];
            const float right = m_Sum[2 * i + 1];
            if (channels == 1)
            {
                *out++ = Clip((left + right) * 0.5f);
                continue;
            }
            *out++ = Clip(left);
            *out++ = Clip(right);
            for (int c = 2; c < channels; ++c)
                *out++ = 0;
        }
        frames -= count;
    }
}

void AudioMixer::MixChunk(int frames)
{
    std::fill(m_Sum.begin(), m_Sum.begin() + 2 * frames, 0.0f);
    for (Voice* voice : m_Voices)
    {
        if (!voice->playing)
            continue;
        const SoundSamples& samples = *voice->samples;
        const std::uint64_t total = samples.FrameCount();
        const std::uint64_t converted = samples.ConvertedFrameCount();
        const int channels = samples.Channels();
        const std::int16_t* data = samples.Frames();
        for (int i = 0; i < frames; ++i)
        {
            if (voice->position >= total)
            {
                // A sound played to its end starts from its beginning next time.
                voice->position = 0;
                if (!voice->looping || total == 0)
                {
                    voice->playing = false;
                    break;
                }
            }
            if (voice->position < converted)
            {
                const std::int16_t* frame = data + voice->position * channels;
                m_Sum[2 * i] += frame[0] * voice->gainLeft;
                m_Sum[2 * i + 1] += frame[channels - 1] * voice->gainRight;
            }
            ++voice->position;
        }
    }
}

} // namespace platform
