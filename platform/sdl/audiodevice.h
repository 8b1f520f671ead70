// The one SDL audio device: opened at whatever rate and channel count the
// system grants, it asks its source for 16-bit frames from SDL's audio thread.
#pragma once

#include "platform/win32/backend.h"

#include <cstdint>
#include <memory>

namespace platform
{

class AudioDevice final : public AudioOutput
{
public:
    // Null when the system has no sound output for us. The source is
    // called on SDL's audio thread.
    static std::unique_ptr<AudioDevice> Open(Source source, void* context);
    ~AudioDevice() override;
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    int Rate() const override { return m_nRate; }
    void Lock() override;
    void Unlock() override;

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
