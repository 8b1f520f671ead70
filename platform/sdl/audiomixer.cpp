#include "platform/sdl/audiomixer.h"

#include "platform/win32/testseams.h"

#include <SDL.h>

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

std::int16_t Clip(float value)
{
    const float rounded = std::nearbyint(value);
    if (rounded > 32767.0f)
        return 32767;
    if (rounded < -32768.0f)
        return -32768;
    return static_cast<std::int16_t>(rounded);
}

} // namespace

AudioMixer::Guard::Guard(AudioMixer& mixer) : m_Mixer(mixer)
{
    if (m_Mixer.m_nDevice != 0)
        SDL_LockAudioDevice(m_Mixer.m_nDevice);
}

AudioMixer::Guard::~Guard()
{
    if (m_Mixer.m_nDevice != 0)
        SDL_UnlockAudioDevice(m_Mixer.m_nDevice);
}

AudioMixer::AudioMixer(std::uint32_t device, int rate, int channels)
    : m_nDevice(device), m_nRate(rate), m_nChannels(channels)
{
    LiveMixers().push_back(this);
}

std::unique_ptr<AudioMixer> AudioMixer::Open()
{
    if (TestSeams::Get().headless)
        return std::unique_ptr<AudioMixer>(new AudioMixer(0, testing::kMixRate, 2));

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;
    // Rate and channel count are taken as the system gives them; the samples
    // stay 16-bit and SDL converts them if the hardware wants otherwise.
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;
    wanted.callback = &AudioMixer::Callback;
    SDL_AudioSpec granted{};
    std::unique_ptr<AudioMixer> mixer(new AudioMixer(0, 0, 0));
    wanted.userdata = mixer.get();
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &granted,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE |
                                SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device == 0 || granted.freq <= 0 || granted.channels == 0)
    {
        if (device != 0)
            SDL_CloseAudioDevice(device);
        mixer.reset();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    mixer->m_nDevice = device;
    mixer->m_nRate = granted.freq;
    mixer->m_nChannels = granted.channels;
    SDL_PauseAudioDevice(device, 0);
    return mixer;
}

AudioMixer::~AudioMixer()
{
    if (m_nDevice != 0)
    {
        SDL_CloseAudioDevice(m_nDevice);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
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

void AudioMixer::Callback(void* mixer, std::uint8_t* stream, int bytes)
{
    auto* self = static_cast<AudioMixer*>(mixer);
    const int frameBytes = static_cast<int>(sizeof(std::int16_t)) * self->m_nChannels;
    self->Mix(reinterpret_cast<std::int16_t*>(stream), bytes / frameBytes, self->m_nChannels);
}

void AudioMixer::Mix(std::int16_t* out, int frames, int channels)
{
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
