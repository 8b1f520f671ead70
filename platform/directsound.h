// The DirectSound device: owns the mixer its buffers play through. Every
// buffer holds a reference, so the device outlives its last buffer.
#pragma once

#include "platform/audiomixer.h"
#include "platform/dsound.h"

#include <memory>

namespace platform
{

class DirectSound : public IDirectSound
{
public:
    explicit DirectSound(std::unique_ptr<AudioMixer> mixer);
    DirectSound(const DirectSound&) = delete;
    DirectSound& operator=(const DirectSound&) = delete;

    AudioMixer& Mixer() { return *m_pMixer; }

    HRESULT QueryInterface(const IID& riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override;
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

private:
    ~DirectSound() override;

    ULONG m_nRefs = 1;
    std::unique_ptr<AudioMixer> m_pMixer;
};

} // namespace platform
