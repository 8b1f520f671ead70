// Arbitrary bytes as a Photoshop file, loaded into a surface of a headless
// 640 x 480 x 16 display. Any crash, out-of-bounds access or allocation the
// file cannot back is a fault of the reader.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "platform/testing.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace
{

CdxScreen* g_pScreen = nullptr;
std::string g_Path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    platform::testing::UseHeadless();
    platform::testing::UseVirtualClock();
    g_pScreen = new CdxScreen;
    g_pScreen->CreateFullScreen(nullptr, 640, 480, 16, 0);
    // A memory file system where there is one: rewriting a file on disk is slow.
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/tz-psd-fuzz-XXXXXX"
                                                        : "/tmp/tz-psd-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        std::abort();
    close(fd);
    g_Path = pattern;
    std::atexit([] { std::remove(g_Path.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(g_Path.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    CdxSurface image;
    image.LoadPsd(g_pScreen, g_Path.c_str(), 2);

    // A refused surface would report and post a quit request; keep neither.
    platform::testing::TakeModalBoxes();
    platform::testing::TakeDebugOutput();
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
    }
    return 0;
}
