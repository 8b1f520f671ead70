// Feeds arbitrary bytes to the WAV reader as a sound file, then plays what
// was loaded through the headless mixer. The file lives in memory.
#include "platform/testing/testing.h"
#include "sound/cdxsound.h"
#include "sound/cdxsoundbuffer.h"
#include "sound/cdxsounderror.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace
{

CdxSound* g_pDevice = nullptr;
int g_nFile = -1;
std::string g_FileName;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::testing::UseHeadless();
    g_pDevice = new CdxSound;
    g_pDevice->Create(nullptr);
    g_nFile = memfd_create("wav_fuzz", 0);
    g_FileName = "/proc/self/fd/" + std::to_string(g_nFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (g_nFile < 0 || ftruncate(g_nFile, 0) != 0 ||
        pwrite(g_nFile, data, size, 0) != static_cast<ssize_t>(size))
        return 0;

    CdxSoundBuffer sound;
    try
    {
        // Two copies, so that duplication and the second read are both used.
        sound.Load(g_pDevice, g_FileName.c_str(), 2);
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
