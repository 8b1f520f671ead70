// A static sound buffer of the DirectSound device: its own play state, volume
// and pan over sample memory it may share with its duplicates.
#pragma once

#include "platform/dsound/audiomixer.h"
#include "platform/dsound/dsound.h"
#include "platform/dsound/soundsamples.h"
#include "platform/win32/comobject.h"

#include <memory>

namespace platform
{

class SoftwareDirectSound;

class SoftwareSoundBuffer : public ComObject<IDirectSoundBuffer>
{
public:
    // Registers with the device's mixer and keeps the device alive.
    SoftwareSoundBuffer(SoftwareDirectSound* device, std::shared_ptr<SoundSamples> samples,
                        DWORD flags);
    SoftwareSoundBuffer(const SoftwareSoundBuffer&) = delete;
    SoftwareSoundBuffer& operator=(const SoftwareSoundBuffer&) = delete;

    // A new buffer on the same samples, stopped at the start, with this
    // one's volume and pan.
    SoftwareSoundBuffer* Duplicate();
    SoftwareDirectSound* Device() const { return m_pDevice; }

    HRESULT GetStatus(DWORD* status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* region1, DWORD* bytes1, LPVOID* region2,
                 DWORD* bytes2, DWORD flags) override;
    HRESULT Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT Stop() override;
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT SetVolume(LONG volume) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT Restore() override;

private:
    ~SoftwareSoundBuffer() override;
    void UpdateGains();
    bool IsRegion(LPVOID region, DWORD bytes) const;

    SoftwareDirectSound* m_pDevice;
    AudioMixer& m_Mixer;
    std::shared_ptr<SoundSamples> m_pSamples;
    DWORD m_nFlags;
    LONG m_nVolume = DSBVOLUME_MAX;
    LONG m_nPan = DSBPAN_CENTER;
    AudioMixer::Voice m_Voice;
};

} // namespace platform
