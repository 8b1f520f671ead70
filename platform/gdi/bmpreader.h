// Reads Windows bitmaps (.bmp files and the packed form of resources) into a
// DiBitmap. The bytes come from outside: nothing is read beyond them, and a
// header whose sizes the bytes cannot back is refused.
#pragma once

#include "platform/gdi/dibitmap.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace platform
{

class BmpReader
{
public:
    // Uncompressed (BI_RGB) bitmaps of 1, 4, 8, 24 or 32 bits per pixel,
    // stored bottom-up or top-down. Null for anything else.
    static std::unique_ptr<DiBitmap> ReadFile(std::span<const std::uint8_t> bytes);
    // The same without the 14-byte file header: info header, palette, pixels.
    static std::unique_ptr<DiBitmap> ReadPackedDib(std::span<const std::uint8_t> bytes);

    // Larger images are refused, so that a forged header cannot ask for
    // gigabytes (4096 x 4096 still fits).
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;

private:
    static std::unique_ptr<DiBitmap> Read(std::span<const std::uint8_t> bytes,
                                          std::size_t infoOffset, bool hasFileHeader);
};

} // namespace platform
