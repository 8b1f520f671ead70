// Opening SDL's audio device, its callback and its lock.
#include "platform/sdl/audiodevice.h"

#include "platform/sdl/sdlsubsystem.h"

namespace platform
{

std::unique_ptr<AudioDevice> AudioDevice::Open(Source source, void* context)
{
    if (!InitSdlSubsystem(SDL_INIT_AUDIO))
        return nullptr;
    std::unique_ptr<AudioDevice> device(new AudioDevice);
    device->m_Source = source;
    device->m_pContext = context;
    // Rate and channel count are taken as the system gives them; the samples
    // stay 16-bit and SDL converts them if the hardware wants otherwise.
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    // 2048 frames (46 ms): the mixer's 21.5 wakes a second are what a standing
    // game still spends, for the music; fewer would delay the shot's bang more.
    wanted.samples = 2048;
    wanted.callback = &AudioDevice::Callback;
    wanted.userdata = device.get();
    SDL_AudioSpec granted{};
    const SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &granted,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE |
                                SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (id == 0 || granted.freq <= 0 || granted.channels == 0)
    {
        if (id != 0)
            SDL_CloseAudioDevice(id);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    device->m_nDevice = id;
    device->m_nRate = granted.freq;
    device->m_nChannels = granted.channels;
    SDL_PauseAudioDevice(id, 0);
    return device;
}

AudioDevice::~AudioDevice()
{
    SDL_CloseAudioDevice(m_nDevice);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::Lock()
{
    SDL_LockAudioDevice(m_nDevice);
}

void AudioDevice::Unlock()
{
    SDL_UnlockAudioDevice(m_nDevice);
}

void AudioDevice::Callback(void* device, std::uint8_t* stream, int bytes)
{
    auto* self = static_cast<AudioDevice*>(device);
    const int frameBytes = static_cast<int>(sizeof(std::int16_t)) * self->m_nChannels;
    self->m_Source(self->m_pContext, reinterpret_cast<std::int16_t*>(stream), bytes / frameBytes,
                   self->m_nChannels);
}

} // namespace platform
