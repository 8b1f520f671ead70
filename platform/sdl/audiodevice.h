// The one SDL audio device: opened at whatever rate and channel count the
// system grants, it asks its source for 16-bit frames from SDL's audio thread.
#pragma once

#include <cstdint>
#include <memory>

namespace platform
{

class AudioDevice
{
public:
    // Called on the audio thread: fill out with frames x channels samples.
    using Source = void (*)(void* context, std::int16_t* out, int frames, int channels);

    // Null when the system has no sound output for us.
    static std::unique_ptr<AudioDevice> Open(Source source, void* context);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    int Rate() const { return m_nRate; }

    // Holds off the audio thread while the source's data changes.
    void Lock();
    void Unlock();

private:
    AudioDevice() = default;
    static void Callback(void* device, std::uint8_t* stream, int bytes);

    std::uint32_t m_nDevice = 0;
    int m_nRate = 0;
    int m_nChannels = 0;
    Source m_Source = nullptr;
    void* m_pContext = nullptr;
};

} // namespace platform
