// The DirectSound device: owns the mixer its buffers play through. Every
// buffer holds a reference, so the device outlives its last buffer.
#pragma once

#include "platform/dsound/audiomixer.h"
#include "platform/dsound/dsound.h"

#include <memory>

namespace platform
{

class SoftwareDirectSound : public IDirectSound
{
public:
    explicit SoftwareDirectSound(std::unique_ptr<AudioMixer> mixer);
    SoftwareDirectSound(const SoftwareDirectSound&) = delete;
    SoftwareDirectSound& operator=(const SoftwareDirectSound&) = delete;

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
    ~SoftwareDirectSound() override;

    ULONG m_nRefs = 1;
    std::unique_ptr<AudioMixer> m_pMixer;
};

} // namespace platform
