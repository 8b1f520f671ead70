// The sound part of the test seams: faults of the device and its buffers, and
// the mix pulled by hand when there is no sound output.
#include "platform/dsound/audiomixer.h"
#include "platform/win32/testseams.h"

#include <algorithm>

namespace platform::testing
{

void MixAudio(std::int16_t* out, int frames)
{
    const auto& live = AudioMixer::Live();
    if (live.empty())
    {
        std::fill(out, out + 2 * static_cast<std::size_t>(std::max(frames, 0)), 0);
        return;
    }
    AudioMixer& mixer = *live.back();
    AudioMixer::Guard guard(mixer);
    mixer.Mix(out, frames, 2);
}

void RefuseSoundDevice(bool refuse)
{
    TestSeams::Get().refuseSoundDevice = refuse;
}

void RefuseSoundCooperativeLevel(bool refuse)
{
    TestSeams::Get().refuseSoundCooperativeLevel = refuse;
}

void RefuseSoundBuffer(bool refuse)
{
    TestSeams::Get().refuseSoundBuffer = refuse;
}

void RefuseSoundDuplicate(bool refuse)
{
    TestSeams::Get().refuseSoundDuplicate = refuse;
}

void LoseSoundBuffers()
{
    for (AudioMixer* mixer : AudioMixer::Live())
    {
        AudioMixer::Guard guard(*mixer);
        for (AudioMixer::Voice* voice : mixer->Voices())
        {
            voice->lost = true;
            voice->playing = false;
        }
    }
}

} // namespace platform::testing
