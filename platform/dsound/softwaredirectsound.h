// The DirectSound device: owns the mixer its buffers play through. Every
// buffer holds a reference, so the device outlives its last buffer.
#pragma once

#include "platform/dsound/audiomixer.h"
#include "platform/dsound/dsound.h"
#include "platform/win32/comobject.h"

#include <memory>

namespace platform
{

class SoftwareDirectSound : public ComObject<IDirectSound>
{
public:
    explicit SoftwareDirectSound(std::unique_ptr<AudioMixer> mixer);
    SoftwareDirectSound(const SoftwareDirectSound&) = delete;
    SoftwareDirectSound& operator=(const SoftwareDirectSound&) = delete;

    AudioMixer& Mixer() { return *m_pMixer; }

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override;
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

private:
    ~SoftwareDirectSound() override;

    std::unique_ptr<AudioMixer> m_pMixer;
};

} // namespace platform
