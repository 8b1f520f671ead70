// Arbitrary bytes as a Photoshop file, loaded into a surface of a headless
// 640 x 480 x 16 display. Any crash, out-of-bounds access or allocation the
// file cannot back is a fault of the reader.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "platform/testing/testing.h"
#include "tests/fuzz/memoryfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CdxScreen* const screen = []
    {
        platform::testing::UseHeadless();
        platform::testing::UseVirtualClock();
        auto* created = new CdxScreen;
        created->CreateFullScreen(nullptr, 640, 480, 16, 0);
        return created;
    }();
    CdxSurface image;
    image.LoadPsd(screen, InMemoryFile(data, size), 2);
    // A refused surface reports and posts a quit request; keep neither.
    platform::testing::TakeModalBoxes();
    platform::testing::TakeDebugOutput();
    for (MSG msg{}; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);)
        ;
    return 0;
}
