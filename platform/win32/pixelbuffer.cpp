// Pixel buffers in 16-bit RGB565 or the 8-bit palette, and their colours.
#include "platform/win32/pixelbuffer.h"

#include <cstring>

namespace platform
{

PixelBuffer::PixelBuffer(int width, int height, int bitsPerPixel)
    : m_nWidth(width), m_nHeight(height), m_nBitsPerPixel(bitsPerPixel),
      m_Pixels(static_cast<std::size_t>(width) * height * (bitsPerPixel / 8), 0)
{
}

std::uint32_t PixelBuffer::Get(int x, int y) const
{
    const std::uint8_t* p = Row(y) + x * BytesPerPixel();
    if (m_nBitsPerPixel == 8)
        return *p;
    std::uint16_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

void PixelBuffer::Set(int x, int y, std::uint32_t value)
{
    std::uint8_t* p = Row(y) + x * BytesPerPixel();
    if (m_nBitsPerPixel == 8)
    {
        *p = static_cast<std::uint8_t>(value);
        return;
    }
    const auto v = static_cast<std::uint16_t>(value);
    std::memcpy(p, &v, sizeof v);
}

std::uint32_t PixelBuffer::FromRgb(Rgb c, int bitsPerPixel)
{
    if (bitsPerPixel == 8)
        return (c.r & 0xE0u) | ((c.g & 0xE0u) >> 3) | (c.b >> 6);
    return ((c.r & 0xF8u) << 8) | ((c.g & 0xFCu) << 3) | (c.b >> 3);
}

Rgb PixelBuffer::ToRgb(std::uint32_t v, int bitsPerPixel)
{
    // Expand each field so that its highest value maps to 255.
    if (bitsPerPixel == 8)
    {
        const unsigned r = (v >> 5) & 7u, g = (v >> 2) & 7u, b = v & 3u;
        return {static_cast<std::uint8_t>(r * 255 / 7), static_cast<std::uint8_t>(g * 255 / 7),
                static_cast<std::uint8_t>(b * 255 / 3)};
    }
    const unsigned r = (v >> 11) & 31u, g = (v >> 5) & 63u, b = v & 31u;
    return {static_cast<std::uint8_t>((r << 3) | (r >> 2)),
            static_cast<std::uint8_t>((g << 2) | (g >> 4)),
            static_cast<std::uint8_t>((b << 3) | (b >> 2))};
}

} // namespace platform
