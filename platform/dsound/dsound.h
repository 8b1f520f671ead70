// The DirectSound subset the sound layer calls: one device, static sound
// buffers with volume, pan and frequency control, duplicates that share the
// sample memory. The platform mixes every playing buffer itself.
#pragma once

#include "platform/win32/win32.h"

constexpr HRESULT MakeDsHResult(DWORD code)
{
    return static_cast<HRESULT>(0x88780000u | code);
}

// Result codes (published values).
constexpr HRESULT DS_OK = S_OK;
constexpr HRESULT DSERR_ALLOCATED = MakeDsHResult(10);
constexpr HRESULT DSERR_CONTROLUNAVAIL = MakeDsHResult(30);
constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DSERR_INVALIDCALL = MakeDsHResult(50);
constexpr HRESULT DSERR_GENERIC = E_FAIL;
constexpr HRESULT DSERR_PRIOLEVELNEEDED = MakeDsHResult(70);
constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DSERR_BADFORMAT = MakeDsHResult(100);
constexpr HRESULT DSERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DSERR_NODRIVER = MakeDsHResult(120);
constexpr HRESULT DSERR_ALREADYINITIALIZED = MakeDsHResult(130);
constexpr HRESULT DSERR_NOAGGREGATION = CLASS_E_NOAGGREGATION;
constexpr HRESULT DSERR_BUFFERLOST = MakeDsHResult(150);
constexpr HRESULT DSERR_OTHERAPPHASPRIO = MakeDsHResult(160);
constexpr HRESULT DSERR_UNINITIALIZED = MakeDsHResult(170);

// SetCooperativeLevel
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

// DSBUFFERDESC::dwFlags
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

// Buffer sizes in bytes, sample rates in Hz, volume in hundredths of a
// decibel, pan from left only to right only.
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_CENTER = 0;
constexpr LONG DSBPAN_RIGHT = 10000;

// Play, GetStatus, Lock
constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;
constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;

constexpr WORD WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX
{
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};

struct DSBUFFERDESC
{
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    WAVEFORMATEX* lpwfxFormat;
};

// The value dwSize must hold: the size of the description above on the
// 32-bit system the game was written for.
constexpr DWORD DSBUFFERDESC1_SIZE = 20;

class IDirectSoundBuffer : public IUnknown
{
public:
    virtual HRESULT GetStatus(DWORD* status) = 0;
    // Hands out the bytes from offset (or the write cursor) in one region, or
    // two when the range wraps around the buffer's end.
    virtual HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* region1, DWORD* bytes1, LPVOID* region2,
                         DWORD* bytes2, DWORD flags) = 0;
    // Takes the written bytes into the sound that is heard.
    virtual HRESULT Unlock(LPVOID region1, DWORD bytes1, LPVOID region2, DWORD bytes2) = 0;
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT SetVolume(LONG volume) = 0;
    virtual HRESULT SetPan(LONG pan) = 0;
    // Gives a lost buffer its memory back; the samples in it are kept.
    virtual HRESULT Restore() = 0;
};

class IDirectSound : public IUnknown
{
public:
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                      IUnknown* outer) = 0;
    virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                         IDirectSoundBuffer** duplicate) = 0;
    // Any window is accepted; only the level is checked.
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
};

// The default device (device must be null). Buffers keep their device alive,
// so they may be released after the device's own last reference.
HRESULT DirectSoundCreate(const GUID* device, IDirectSound** directSound, IUnknown* outer);
