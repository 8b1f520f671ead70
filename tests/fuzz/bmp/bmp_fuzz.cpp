// Feeds arbitrary bytes to the bitmap reader, as a file and as a resource.
#include "platform/gdi/bmpreader.h"

#include <cstddef>
#include <cstdint>

namespace
{

void Touch(const platform::DiBitmap* bitmap)
{
    if (!bitmap)
        return;
    // The far corner shows up a size that does not match the pixels.
    volatile unsigned sum =
        bitmap->Pixel(0, 0).r + bitmap->Pixel(bitmap->Width() - 1, bitmap->Height() - 1).b;
    (void)sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    Touch(platform::BmpReader::ReadFile(bytes).get());
    Touch(platform::BmpReader::ReadPackedDib(bytes).get());
    return 0;
}
