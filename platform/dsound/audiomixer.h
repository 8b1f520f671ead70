// The mixer of a DirectSound device: sums every playing voice into the back
// end's sound output or, headless, only when a test pulls samples. Mixing
// neither allocates nor waits.
#pragma once

#include "platform/dsound/soundsamples.h"
#include "platform/win32/backend.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform
{

class AudioMixer
{
public:
    // The play state of one sound buffer. The game's thread changes it only
    // while holding a Guard; the mixer reads and advances it.
    struct Voice
    {
        const SoundSamples* samples = nullptr;
        std::uint64_t position = 0; // in device frames
        bool playing = false;
        bool looping = false;
        bool lost = false;
        float gainLeft = 1.0f;
        float gainRight = 1.0f;
    };

    // Holds off the audio callback while voices are changed.
    class Guard
    {
    public:
        explicit Guard(AudioMixer& mixer);
        ~Guard();
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;

    private:
        AudioMixer& m_Mixer;
    };

    // Null when the system has no sound output for us.
    static std::unique_ptr<AudioMixer> Open();
    ~AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    int Rate() const { return m_nRate; }

    void Add(Voice* voice);
    void Remove(Voice* voice);

    // Sums frames of every playing voice into out, interleaved for the given
    // number of channels, clipped to 16 bits.
    void Mix(std::int16_t* out, int frames, int channels);

    // Every mixer that exists, the newest last (for the test seams).
    static const std::vector<AudioMixer*>& Live();
    const std::vector<Voice*>& Voices() const { return m_Voices; }

private:
    static constexpr int kChunkFrames = 512;

    explicit AudioMixer(int rate);
    static void Fill(void* mixer, std::int16_t* out, int frames, int channels);
    void MixChunk(int frames);

    std::unique_ptr<AudioOutput> m_pDevice; // null when headless
    int m_nRate;
    std::vector<Voice*> m_Voices;
    std::array<float, 2 * kChunkFrames> m_Sum{};
};

} // namespace platform
