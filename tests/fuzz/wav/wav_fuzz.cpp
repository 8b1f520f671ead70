// Feeds arbitrary bytes to the WAV reader as a sound file, then plays what
// was loaded through the headless mixer. The file lives in memory.
#include "platform/testing/testing.h"
#include "sound/cdxsound.h"
#include "sound/cdxsoundbuffer.h"
#include "sound/cdxsounderror.h"
#include "tests/fuzz/memoryfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CdxSound* const device = []
    {
        platform::testing::UseHeadless();
        auto* created = new CdxSound;
        created->Create(nullptr);
        return created;
    }();
    CdxSoundBuffer sound;
    try
    {
        // Two copies, so that duplication and the second read are both used.
        sound.Load(device, InMemoryFile(data, size), 2);
        sound.SetVolume(-500);
        sound.Play(size % 2 == 0 ? 0 : -3000, size % 3 == 0 ? 1 : 0);
        sound.Play(0, 0);
        std::int16_t mix[2 * 256];
        platform::testing::MixAudio(mix, 256);
        sound.Stop();
    }
    catch (const CdxSoundError&)
    {
    }
    sound.Release();
    platform::testing::TakeDebugOutput();
    return 0;
}
