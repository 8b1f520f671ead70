// The sample memory of a sound buffer, shared by the buffer and its duplicates:
// the bytes as the game wrote them, and what was written converted once to the
// device's rate as 16-bit frames, which is what the mixer plays.
#pragma once

#include "platform/dsound/dsound.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform
{

class SoundSamples
{
public:
    // Null when the memory cannot be had. The format must have been checked.
    static std::shared_ptr<SoundSamples> Create(const WAVEFORMATEX& format, DWORD bytes,
                                                int deviceRate);

    // The number of device-rate frames bytes of this format become.
    static std::uint64_t ConvertedFrames(const WAVEFORMATEX& format, DWORD bytes, int deviceRate);

    BYTE* Bytes() { return m_pBytes.get(); }
    DWORD Size() const { return m_nSize; }

    // Notes that the bytes up to end hold sound; only those are converted.
    void MarkWritten(DWORD end);
    // The bytes the converted copy of what was written takes.
    std::uint64_t ConvertedBytes() const;
    // What was written as frames at the device rate (1 or 2 channels, as the
    // format has). Done on the game's thread; the mixer only ever swaps.
    std::vector<std::int16_t> Convert() const;
    void SwapFrames(std::vector<std::int16_t>& frames) { m_Frames.swap(frames); }

    // The whole buffer's length in device frames; past the converted frames
    // it is silent.
    std::uint64_t FrameCount() const { return m_nFrames; }
    const std::int16_t* Frames() const { return m_Frames.data(); }
    std::uint64_t ConvertedFrameCount() const { return m_Frames.size() / m_Format.nChannels; }
    int Channels() const { return m_Format.nChannels; }

    // Byte offsets and device frames, rounded down to whole frames.
    std::uint64_t FrameAtByte(DWORD byte) const;
    DWORD ByteAtFrame(std::uint64_t frame) const;

private:
    struct FreeBytes
    {
        void operator()(BYTE* bytes) const { std::free(bytes); }
    };

    SoundSamples(const WAVEFORMATEX& format, DWORD bytes, int deviceRate, BYTE* memory);

    WAVEFORMATEX m_Format;
    DWORD m_nSize;
    DWORD m_nWritten = 0;
    int m_nDeviceRate;
    std::uint64_t m_nFrames;
    // Zeroed pages from calloc: a large buffer costs memory only where written.
    std::unique_ptr<BYTE, FreeBytes> m_pBytes;
    std::vector<std::int16_t> m_Frames;
};

} // namespace platform
