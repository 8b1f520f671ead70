// The pixels of one surface, in the display mode's format: 16 bits per pixel
// as RGB565, or 8 bits per pixel as an index into the fixed 3-3-2 palette.
// Shared by the DirectDraw surfaces and the GDI device contexts drawn on them.
#pragma once

#include <cstdint>
#include <vector>

namespace platform
{

struct Rgb
{
    std::uint8_t r;
    std::uint8_t g;
    std::uint8_t b;
};

class PixelBuffer
{
public:
    PixelBuffer(int width, int height, int bitsPerPixel);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    int BitsPerPixel() const { return m_nBitsPerPixel; }
    int BytesPerPixel() const { return m_nBitsPerPixel / 8; }
    int Pitch() const { return m_nWidth * BytesPerPixel(); }

    std::uint8_t* Row(int y) { return m_Pixels.data() + static_cast<std::size_t>(y) * Pitch(); }
    const std::uint8_t* Row(int y) const
    {
        return m_Pixels.data() + static_cast<std::size_t>(y) * Pitch();
    }
    std::vector<std::uint8_t>& Bytes() { return m_Pixels; }
    const std::vector<std::uint8_t>& Bytes() const { return m_Pixels; }

    // Raw pixel values; the caller keeps (x, y) inside the buffer.
    std::uint32_t Get(int x, int y) const;
    void Set(int x, int y, std::uint32_t value);

    // Conversions between colours and raw values of this buffer's format.
    std::uint32_t FromRgb(Rgb colour) const { return FromRgb(colour, m_nBitsPerPixel); }
    Rgb ToRgb(std::uint32_t value) const { return ToRgb(value, m_nBitsPerPixel); }
    static std::uint32_t FromRgb(Rgb colour, int bitsPerPixel);
    static Rgb ToRgb(std::uint32_t value, int bitsPerPixel);

private:
    int m_nWidth;
    int m_nHeight;
    int m_nBitsPerPixel;
    std::vector<std::uint8_t> m_Pixels;
};

} // namespace platform
