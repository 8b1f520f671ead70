// Reading WAV files into sound buffers, and playing, stopping and setting their volume.
#include "sound/cdxsoundbuffer.h"

#include "platform/win32/byteorder.h"
#include "platform/win32/gamepath.h"
#include "platform/win32/win32.h"
#include "sound/cdxsound.h"
#include "sound/cdxsounderror.h"

#include <cstdint>
#include <string>

namespace
{

constexpr long kWavHeaderSize = 44;

// The debug line prints addresses and handles as 32-bit numbers.
int AsDecimal(const void* pointer)
{
    return static_cast<int>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer)));
}

// The bytes read into an unlocked region; an empty region reads nothing.
DWORD ReadBlock(LPVOID region, DWORD length, std::FILE* file)
{
    if (length == 0)
        return 0;
    return static_cast<DWORD>(std::fread(region, 1, length, file));
}

} // namespace

CdxSoundBuffer::CdxSoundBuffer() : m_Buffers(1, nullptr) {}

CdxSoundBuffer::~CdxSoundBuffer()
{
    Release();
}

IDirectSoundBuffer* CdxSoundBuffer::ExistingCopy(int copy) const
{
    if (copy < 0 || copy >= static_cast<int>(m_Buffers.size()) || m_Buffers[copy] == nullptr)
        throw CdxSoundError("sound buffer " + std::to_string(copy) + " does not exist");
    return m_Buffers[copy];
}

bool CdxSoundBuffer::Load(CdxSound* device, const char* fileName, int copies)
{
    if (fileName == nullptr || copies < 1)
        return false;
    Release();
    m_pSound = device;
    m_nBuffers = copies;
    m_nCurrent = 0;
    m_pszFileName = fileName;
    m_Buffers.assign(copies, nullptr);

    if (!LoadWav(0))
        return false;
    for (int i = 1; i < m_nBuffers; ++i)
    {
        // A duplicate shares copy 0's samples; failing that, read the file again.
        if (FAILED(m_pSound->GetDS()->DuplicateSoundBuffer(m_Buffers[0], &m_Buffers[i])) &&
            !LoadWav(i))
            return false;
    }
    return true;
}

bool CdxSoundBuffer::LoadWav(int copy)
{
    std::FILE* file = OpenGameFile(m_pszFileName);
    if (file == nullptr)
        return false;
    unsigned char header[kWavHeaderSize];
    if (std::fread(header, sizeof header, 1, file) != 1)
    {
        std::fclose(file);
        return false;
    }
    // The layout is taken as fixed: format chunk at 20, data size at 40.
    const WORD channels = platform::ReadLittleEndian16(header + 22);
    const DWORD samplesPerSecond = platform::ReadLittleEndian32(header + 24);
    const WORD blockAlign = platform::ReadLittleEndian16(header + 32);
    const WORD bitsPerSample = platform::ReadLittleEndian16(header + 34);
    const DWORD dataSize = platform::ReadLittleEndian32(header + 40);
    try
    {
        CreateBuffer(copy, dataSize, samplesPerSecond, bitsPerSample, blockAlign, channels > 1);
        if (!ReadData(copy, file, dataSize, kWavHeaderSize))
        {
            std::fclose(file);
            return false;
        }
    }
    catch (...)
    {
        std::fclose(file);
        throw;
    }
    std::fclose(file);
    return true;
}

void CdxSoundBuffer::CreateBuffer(int copy, DWORD size, DWORD samplesPerSecond, WORD bitsPerSample,
                                  WORD blockAlign, bool stereo)
{
    if (m_pSound == nullptr || m_pSound->GetDS() == nullptr)
        throw CdxSoundError("no sound device");

    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = stereo ? 2 : 1;
    format.nSamplesPerSec = samplesPerSecond;
    format.nAvgBytesPerSec = static_cast<DWORD>(blockAlign) * samplesPerSecond;
    format.nBlockAlign = blockAlign;
    format.wBitsPerSample = bitsPerSample;
    format.cbSize = 0;

    DSBUFFERDESC desc{};
    desc.dwSize = DSBUFFERDESC1_SIZE;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                   DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &format;

    // A refused format leaves the slot empty; reading into it then raises.
    m_pSound->GetDS()->CreateSoundBuffer(&desc, &m_Buffers[copy], nullptr);
}

bool CdxSoundBuffer::ReadData(int copy, std::FILE* file, DWORD size, long offset)
{
    if (offset != -1 && std::fseek(file, offset, SEEK_SET) != 0)
        return false;
    IDirectSoundBuffer* buffer = ExistingCopy(copy);

    LPVOID data1 = nullptr;
    DWORD length1 = 0;
    LPVOID data2 = nullptr;
    DWORD length2 = 0;
    if (FAILED(buffer->Lock(0, size, &data1, &length1, &data2, &length2, DSBLOCK_FROMWRITECURSOR)))
        return false;

    // A short file leaves the rest of the buffer silent; the unlock counts
    // only what was read, so that rest costs nothing.
    const DWORD read1 = ReadBlock(data1, length1, file);
    if (read1 != length1)
    {
        // By design: this exact debug line, pointers printed as numbers.
        char line[96];
        std::snprintf(line, sizeof line, "Data1 : %d, dwdata: %d, fp: %d", AsDecimal(data1),
                      static_cast<int>(length1), AsDecimal(file));
        OutputDebugStringA(line);
        buffer->Unlock(data1, read1, data2, 0);
        return false;
    }
    const DWORD read2 = ReadBlock(data2, length2, file);
    if (read2 != length2)
    {
        buffer->Unlock(data1, length1, data2, read2);
        return false;
    }
    return SUCCEEDED(buffer->Unlock(data1, length1, data2, length2));
}

IDirectSoundBuffer* CdxSoundBuffer::GetFreeBuffer()
{
    if (m_nCurrent < 0 || m_nCurrent >= static_cast<int>(m_Buffers.size()))
        return nullptr;
    IDirectSoundBuffer* buffer = m_Buffers[m_nCurrent];
    if (buffer == nullptr)
        return nullptr;
    DWORD status = 0;
    if (FAILED(buffer->GetStatus(&status)))
        status = 0;

    if ((status & DSBSTATUS_PLAYING) != 0)
    {
        // One copy: the sound goes on and this request is dropped. Several:
        // the next copy in turn is taken, cut off if it still sounds.
        if (m_nBuffers <= 1)
            return nullptr;
        m_nCurrent = (m_nCurrent + 1) % m_nBuffers;
        buffer = m_Buffers[m_nCurrent];
        if (buffer == nullptr)
            return nullptr;
        if (FAILED(buffer->GetStatus(&status)))
            status = 0;
        if ((status & DSBSTATUS_PLAYING) != 0)
        {
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
    }
    // The samples are not read again after a restore.
    if ((status & DSBSTATUS_BUFFERLOST) != 0 && FAILED(buffer->Restore()))
        return nullptr;
    return buffer;
}

bool CdxSoundBuffer::Play(int pan, DWORD flags)
{
    if (m_pSound == nullptr)
        return false;
    IDirectSoundBuffer* buffer = GetFreeBuffer();
    if (buffer == nullptr)
        return false;
    if (FAILED(buffer->SetPan(pan)))
        return false;
    return SUCCEEDED(buffer->Play(0, 0, flags));
}

bool CdxSoundBuffer::Stop()
{
    if (m_pSound == nullptr)
        return false;
    for (int i = 0; i < m_nBuffers; ++i)
    {
        IDirectSoundBuffer* buffer = ExistingCopy(i);
        if (FAILED(buffer->Stop()) || FAILED(buffer->SetCurrentPosition(0)))
            return false;
    }
    return true;
}

void CdxSoundBuffer::SetVolume(int volume)
{
    for (int i = 0; i < m_nBuffers; ++i)
        ExistingCopy(i)->SetVolume(volume);
}

void CdxSoundBuffer::Release()
{
    for (IDirectSoundBuffer*& buffer : m_Buffers)
    {
        if (buffer != nullptr)
            buffer->Release();
        buffer = nullptr;
    }
    m_pSound = nullptr;
}
