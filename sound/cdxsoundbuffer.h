// One sound: a WAV file read once into a static sound buffer, with a fixed
// number of playback copies so that it can sound several times at once.
#pragma once

#include "platform/dsound/dsound.h"

#include <cstdio>
#include <vector>

class CdxSound;

class CdxSoundBuffer
{
public:
    CdxSoundBuffer();
    ~CdxSoundBuffer();
    CdxSoundBuffer(const CdxSoundBuffer&) = delete;
    CdxSoundBuffer& operator=(const CdxSoundBuffer&) = delete;

    // Reads the file (canonical 44-byte PCM header) into copy 0 and makes the
    // other copies from it. The name is kept, not copied. False when the file
    // cannot be read; CdxSoundError when a buffer it needs does not exist.
    bool Load(CdxSound* device, const char* fileName, int copies);
    // Pan -10000..10000; flags 0 plays once, DSBPLAY_LOOPING until stopped.
    // False when no copy is free or the platform refuses.
    bool Play(int pan, DWORD flags);
    // Stops every copy and rewinds it.
    bool Stop();
    // Hundredths of a decibel, 0 (full) to -10000, for every copy.
    void SetVolume(int volume);
    // Releases every copy and forgets the device.
    void Release();

    // The copy the next play request uses, or null when none is free.
    IDirectSoundBuffer* GetFreeBuffer();
    bool LoadWav(int copy);
    void CreateBuffer(int copy, DWORD size, DWORD samplesPerSecond, WORD bitsPerSample,
                      WORD blockAlign, bool stereo);
    bool ReadData(int copy, std::FILE* file, DWORD size, long offset);

    int m_nBuffers = 1;
    int m_nCurrent = 0;
    const char* m_pszFileName = nullptr;
    CdxSound* m_pSound = nullptr;
    std::vector<IDirectSoundBuffer*> m_Buffers;

private:
    IDirectSoundBuffer* ExistingCopy(int copy) const;
};
