// A sound buffer's locking, playing, stopping, volume and pan, over shared samples.
#include "platform/dsound/softwaresoundbuffer.h"

#include "platform/dsound/softwaredirectsound.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace platform
{

namespace
{

// Hundredths of a decibel of attenuation as a factor; the bottom of the
// range is silence.
float Attenuation(LONG hundredthsOfDb)
{
    if (hundredthsOfDb <= DSBVOLUME_MIN)
        return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

} // namespace

SoftwareSoundBuffer::SoftwareSoundBuffer(SoftwareDirectSound* device,
                                         std::shared_ptr<SoundSamples> samples, DWORD flags)
    : m_pDevice(device), m_Mixer(device->Mixer()), m_pSamples(std::move(samples)), m_nFlags(flags)
{
    m_pDevice->AddRef();
    m_Voice.samples = m_pSamples.get();
    m_Mixer.Add(&m_Voice);
}

SoftwareSoundBuffer::~SoftwareSoundBuffer()
{
    m_Mixer.Remove(&m_Voice);
    m_pDevice->Release();
}

SoftwareSoundBuffer* SoftwareSoundBuffer::Duplicate()
{
    auto* copy = new SoftwareSoundBuffer(m_pDevice, m_pSamples, m_nFlags);
    copy->m_nVolume = m_nVolume;
    copy->m_nPan = m_nPan;
    copy->UpdateGains();
    return copy;
}

HRESULT SoftwareSoundBuffer::GetStatus(DWORD* status)
{
    if (status == nullptr)
        return DSERR_INVALIDPARAM;
    AudioMixer::Guard guard(m_Mixer);
    *status = 0;
    if (m_Voice.playing)
        *status |= DSBSTATUS_PLAYING | (m_Voice.looping ? DSBSTATUS_LOOPING : 0);
    if (m_Voice.lost)
        *status |= DSBSTATUS_BUFFERLOST;
    return DS_OK;
}

HRESULT SoftwareSoundBuffer::Lock(DWORD offset, DWORD bytes, LPVOID* region1, DWORD* bytes1,
                                  LPVOID* region2, DWORD* bytes2, DWORD flags)
{
    if (region1 == nullptr || bytes1 == nullptr)
        return DSERR_INVALIDPARAM;
    *region1 = nullptr;
    *bytes1 = 0;
    if (region2 != nullptr)
        *region2 = nullptr;
    if (bytes2 != nullptr)
        *bytes2 = 0;

    const DWORD size = m_pSamples->Size();
    {
        AudioMixer::Guard guard(m_Mixer);
        if (m_Voice.lost)
            return DSERR_BUFFERLOST;
        if ((flags & DSBLOCK_FROMWRITECURSOR) != 0)
            offset = m_pSamples->ByteAtFrame(m_Voice.position);
    }
    if ((flags & DSBLOCK_ENTIREBUFFER) != 0)
        bytes = size;
    if (bytes == 0 || bytes > size || offset >= size)
        return DSERR_INVALIDPARAM;

    // A range that runs past the end goes on at the start.
    const DWORD first = std::min(bytes, size - offset);
    *region1 = m_pSamples->Bytes() + offset;
    *bytes1 = first;
    if (first < bytes && region2 != nullptr && bytes2 != nullptr)
    {
        *region2 = m_pSamples->Bytes();
        *bytes2 = bytes - first;
    }
    return DS_OK;
}

bool SoftwareSoundBuffer::IsRegion(LPVOID region, DWORD bytes) const
{
    if (region == nullptr)
        return bytes == 0;
    const auto start = reinterpret_cast<std::uintptr_t>(m_pSamples->Bytes());
    const auto at = reinterpret_cast<std::uintptr_t>(region);
    return at >= start && at - start <= m_pSamples->Size() &&
           bytes <= m_pSamples->Size() - (at - start);
}

HRESULT SoftwareSoundBuffer::Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2)
{
    if (!IsRegion(region1, bytes1) || !IsRegion(region2, bytes2))
        return DSERR_INVALIDPARAM;
    // The counts say how much was written: only that is converted, so a
    // large buffer that was filled in part costs the mixer only that part.
    BYTE* start = m_pSamples->Bytes();
    if (bytes1 != 0)
        m_pSamples->MarkWritten(static_cast<DWORD>(static_cast<BYTE*>(region1) - start) + bytes1);
    if (bytes2 != 0)
        m_pSamples->MarkWritten(static_cast<DWORD>(static_cast<BYTE*>(region2) - start) + bytes2);
    if (m_pSamples->ConvertedBytes() > DSBSIZE_MAX)
        return DSERR_OUTOFMEMORY;
    std::vector<std::int16_t> frames;
    try
    {
        frames = m_pSamples->Convert();
    }
    catch (const std::bad_alloc&)
    {
        return DSERR_OUTOFMEMORY;
    }
    {
        AudioMixer::Guard guard(m_Mixer);
        m_pSamples->SwapFrames(frames);
    }
    return DS_OK;
}

HRESULT SoftwareSoundBuffer::Play(DWORD reserved, DWORD, DWORD flags)
{
    if (reserved != 0)
        return DSERR_INVALIDPARAM;
    AudioMixer::Guard guard(m_Mixer);
    if (m_Voice.lost)
        return DSERR_BUFFERLOST;
    m_Voice.playing = true;
    m_Voice.looping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT SoftwareSoundBuffer::Stop()
{
    AudioMixer::Guard guard(m_Mixer);
    m_Voice.playing = false;
    return DS_OK;
}

HRESULT SoftwareSoundBuffer::SetCurrentPosition(DWORD position)
{
    if (position >= m_pSamples->Size())
        return DSERR_INVALIDPARAM;
    AudioMixer::Guard guard(m_Mixer);
    m_Voice.position = m_pSamples->FrameAtByte(position);
    return DS_OK;
}

HRESULT SoftwareSoundBuffer::SetVolume(LONG volume)
{
    if ((m_nFlags & DSBCAPS_CTRLVOLUME) == 0)
        return DSERR_CONTROLUNAVAIL;
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX)
        return DSERR_INVALIDPARAM;
    m_nVolume = volume;
    UpdateGains();
    return DS_OK;
}

HRESULT SoftwareSoundBuffer::SetPan(LONG pan)
{
    if ((m_nFlags & DSBCAPS_CTRLPAN) == 0)
        return DSERR_CONTROLUNAVAIL;
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT)
        return DSERR_INVALIDPARAM;
    m_nPan = pan;
    UpdateGains();
    return DS_OK;
}

// Pan attenuates the far side only, in the same decibel steps as the volume.
void SoftwareSoundBuffer::UpdateGains()
{
    const float volume = Attenuation(m_nVolume);
    const float left = volume * Attenuation(m_nPan > 0 ? -m_nPan : 0);
    const float right = volume * Attenuation(m_nPan < 0 ? m_nPan : 0);
    AudioMixer::Guard guard(m_Mixer);
    m_Voice.gainLeft = left;
    m_Voice.gainRight = right;
}

HRESULT SoftwareSoundBuffer::Restore()
{
    AudioMixer::Guard guard(m_Mixer);
    m_Voice.lost = false;
    return DS_OK;
}

} // namespace platform
