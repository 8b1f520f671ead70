// Feeds arbitrary bytes to the bitmap reader, as a file and as a resource.
#include "platform/gdi/bmpreader.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (auto read : {&platform::BmpReader::ReadFile, &platform::BmpReader::ReadPackedDib})
        if (const auto bitmap = read(std::span<const std::uint8_t>(data, size)))
        {
            // The far corner shows up a size that does not match the pixels.
            volatile unsigned sum =
                bitmap->Pixel(0, 0).r + bitmap->Pixel(bitmap->Width() - 1, bitmap->Height() - 1).b;
            (void)sum;
        }
    return 0;
}
