// The sound device: the one DirectSound object the game's sounds are made on.
#pragma once

#include "platform/dsound/dsound.h"

class CdxSound
{
public:
    CdxSound();
    ~CdxSound();
    CdxSound(const CdxSound&) = delete;
    CdxSound& operator=(const CdxSound&) = delete;

    // Creates the default device at the normal cooperative level for window.
    // Failures are reported to the player; without a device it raises
    // CdxSoundError, otherwise it returns true.
    bool Create(HWND window);

    IDirectSound* GetDS() const { return m_pDS; }

    IDirectSound* m_pDS = nullptr;
};
