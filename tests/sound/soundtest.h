// Shared by the sound tests: a scratch working directory, WAV files made to
// order, and the headless mix read back.
#pragma once

#include "platform/testing/testing.h"
#include "tests/platform/testfiles.h"
#include "tests/support/scratchdirectory.h"

#include <numeric>
#include <optional>

namespace soundtest
{

using testfiles::Bytes;
using testfiles::Put;
using testfiles::WriteFile;
using Samples = std::vector<std::int16_t>;

struct WavFormat
{
    std::uint16_t channels = 1;
    std::uint32_t rate = platform::testing::kMixRate;
    std::uint16_t blockAlign = 2;
    std::uint16_t bits = 16;
    std::optional<std::uint32_t> dataSize; // the size written in the header
};

// A canonical 44-byte header followed by the 16-bit samples.
inline Bytes Wav(const WavFormat& f, const Samples& samples)
{
    const auto size = static_cast<std::uint32_t>(2 * samples.size());
    Bytes out{'R', 'I', 'F', 'F'};
    Put(out, 36 + size, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0});
    Put(out, f.channels, 2), Put(out, f.rate, 4), Put(out, f.rate * f.blockAlign, 4);
    Put(out, f.blockAlign, 2), Put(out, f.bits, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put(out, f.dataSize.value_or(size), 4);
    for (std::int16_t sample : samples)
        Put(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

// 1, 2, 3, ...: a sample's value tells where in the sound the mixer is.
inline Samples Ramp(int count)
{
    Samples out(count);
    std::iota(out.begin(), out.end(), std::int16_t{1});
    return out;
}

// The next frames of the mix, left and right interleaved.
inline Samples Mix(int frames)
{
    Samples out(2 * static_cast<std::size_t>(frames));
    platform::testing::MixAudio(out.data(), frames);
    return out;
}

} // namespace soundtest
