// The DirectSound device in software: buffers made on one mixer.
#include "platform/dsound/softwaredirectsound.h"

#include "platform/dsound/softwaresoundbuffer.h"
#include "platform/win32/testseams.h"

namespace platform
{

namespace
{

// What the device can play: PCM, mono or stereo, 8 or 16 bits, a block
// align that matches, a rate in the published range.
bool IsPlayableFormat(const WAVEFORMATEX& format)
{
    if (format.wFormatTag != WAVE_FORMAT_PCM)
        return false;
    if (format.nChannels != 1 && format.nChannels != 2)
        return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16)
        return false;
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8)
        return false;
    return format.nSamplesPerSec >= DSBFREQUENCY_MIN && format.nSamplesPerSec <= DSBFREQUENCY_MAX;
}

} // namespace

SoftwareDirectSound::SoftwareDirectSound(std::unique_ptr<AudioMixer> mixer)
    : m_pMixer(std::move(mixer))
{
}

SoftwareDirectSound::~SoftwareDirectSound() = default;

HRESULT SoftwareDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc,
                                               IDirectSoundBuffer** buffer, IUnknown* outer)
{
    if (buffer == nullptr)
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (outer != nullptr)
        return DSERR_NOAGGREGATION;
    if (desc == nullptr || desc->dwSize != DSBUFFERDESC1_SIZE || desc->lpwfxFormat == nullptr ||
        (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0)
        return DSERR_INVALIDPARAM;
    // The published limits also keep a forged size from taking the memory.
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX)
        return DSERR_INVALIDPARAM;
    const WAVEFORMATEX& format = *desc->lpwfxFormat;
    if (!IsPlayableFormat(format))
        return DSERR_BADFORMAT;
    if (TestSeams::Get().refuseSoundBuffer)
        return DSERR_OUTOFMEMORY;

    auto samples = SoundSamples::Create(format, desc->dwBufferBytes, m_pMixer->Rate());
    if (!samples)
        return DSERR_OUTOFMEMORY;
    *buffer = new SoftwareSoundBuffer(this, std::move(samples), desc->dwFlags);
    return DS_OK;
}

HRESULT SoftwareDirectSound::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                                  IDirectSoundBuffer** duplicate)
{
    if (duplicate == nullptr)
        return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    auto* source = dynamic_cast<SoftwareSoundBuffer*>(original);
    if (source == nullptr || source->Device() != this)
        return DSERR_INVALIDPARAM;
    if (TestSeams::Get().refuseSoundDuplicate)
        return DSERR_OUTOFMEMORY;
    *duplicate = source->Duplicate();
    return DS_OK;
}

HRESULT SoftwareDirectSound::SetCooperativeLevel(HWND, DWORD level)
{
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
        return DSERR_INVALIDPARAM;
    if (TestSeams::Get().refuseSoundCooperativeLevel)
        return DSERR_ALLOCATED;
    return DS_OK;
}

} // namespace platform

HRESULT DirectSoundCreate(const GUID* device, IDirectSound** directSound, IUnknown* outer)
{
    if (directSound == nullptr)
        return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (outer != nullptr)
        return DSERR_NOAGGREGATION;
    if (device != nullptr || platform::TestSeams::Get().refuseSoundDevice)
        return DSERR_NODRIVER;
    auto mixer = platform::AudioMixer::Open();
    if (!mixer)
        return DSERR_NODRIVER;
    *directSound = new platform::SoftwareDirectSound(std::move(mixer));
    return DS_OK;
}
