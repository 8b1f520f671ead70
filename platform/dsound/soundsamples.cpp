// Sample memory: the written bytes, converted once to the device's rate.
#include "platform/dsound/soundsamples.h"

#include "platform/win32/byteorder.h"

#include <algorithm>

namespace platform
{

namespace
{

// One sample of the written bytes as signed 16-bit.
std::int32_t SampleAt(const BYTE* bytes, const WAVEFORMATEX& format, std::uint64_t frame,
                      int channel)
{
    const BYTE* p = bytes + frame * format.nBlockAlign;
    if (format.wBitsPerSample == 8)
        return (static_cast<std::int32_t>(p[channel]) - 128) * 256;
    return static_cast<std::int16_t>(ReadLittleEndian16(p + 2 * channel));
}

} // namespace

SoundSamples::SoundSamples(const WAVEFORMATEX& format, DWORD bytes, int deviceRate, BYTE* memory)
    : m_Format(format), m_nSize(bytes), m_nDeviceRate(deviceRate),
      m_nFrames(ConvertedFrames(format, bytes, deviceRate)), m_pBytes(memory)
{
}

std::shared_ptr<SoundSamples> SoundSamples::Create(const WAVEFORMATEX& format, DWORD bytes,
                                                   int deviceRate)
{
    auto* memory = static_cast<BYTE*>(std::calloc(bytes, 1));
    if (memory == nullptr)
        return nullptr;
    return std::shared_ptr<SoundSamples>(new SoundSamples(format, bytes, deviceRate, memory));
}

std::uint64_t SoundSamples::ConvertedFrames(const WAVEFORMATEX& format, DWORD bytes, int deviceRate)
{
    const std::uint64_t sourceFrames = bytes / format.nBlockAlign;
    return sourceFrames * static_cast<std::uint64_t>(deviceRate) / format.nSamplesPerSec;
}

void SoundSamples::MarkWritten(DWORD end)
{
    m_nWritten = std::max(m_nWritten, std::min(end, m_nSize));
}

std::uint64_t SoundSamples::ConvertedBytes() const
{
    return ConvertedFrames(m_Format, m_nWritten, m_nDeviceRate) * m_Format.nChannels *
           sizeof(std::int16_t);
}

std::vector<std::int16_t> SoundSamples::Convert() const
{
    const std::uint64_t sourceFrames = m_nSize / m_Format.nBlockAlign;
    const std::uint64_t writtenFrames = m_nWritten / m_Format.nBlockAlign;
    const std::uint64_t frames = ConvertedFrames(m_Format, m_nWritten, m_nDeviceRate);
    const int channels = m_Format.nChannels;
    std::vector<std::int16_t> out(frames * channels);

    // Linear interpolation in 32.32 fixed point. A full buffer is circular, so
    // its last frame leans towards the first, which keeps a looping sound's
    // seam as it was written; a part-written one holds its last frame.
    const std::uint64_t step = (static_cast<std::uint64_t>(m_Format.nSamplesPerSec) << 32) /
                               static_cast<std::uint64_t>(m_nDeviceRate);
    const BYTE* bytes = m_pBytes.get();
    std::uint64_t position = 0;
    for (std::uint64_t i = 0; i < frames; ++i, position += step)
    {
        const std::uint64_t index = position >> 32;
        const std::int64_t weight = static_cast<std::int64_t>((position >> 16) & 0xFFFF);
        std::uint64_t next = index + 1;
        if (next >= writtenFrames)
            next = writtenFrames == sourceFrames ? 0 : index;
        for (int c = 0; c < channels; ++c)
        {
            const std::int64_t a = SampleAt(bytes, m_Format, index, c);
            const std::int64_t b = weight == 0 ? a : SampleAt(bytes, m_Format, next, c);
            out[i * channels + c] = static_cast<std::int16_t>(a + (((b - a) * weight) >> 16));
        }
    }
    return out;
}

std::uint64_t SoundSamples::FrameAtByte(DWORD byte) const
{
    const std::uint64_t sourceFrame = byte / m_Format.nBlockAlign;
    return sourceFrame * static_cast<std::uint64_t>(m_nDeviceRate) / m_Format.nSamplesPerSec;
}

DWORD SoundSamples::ByteAtFrame(std::uint64_t frame) const
{
    const std::uint64_t sourceFrame =
        frame * m_Format.nSamplesPerSec / static_cast<std::uint64_t>(m_nDeviceRate);
    const std::uint64_t byte = sourceFrame * m_Format.nBlockAlign;
    return byte < m_nSize ? static_cast<DWORD>(byte) : 0;
}

} // namespace platform
