// Colour tables from a 32-bit format's channel masks, and converting through them.
#include "platform/present/colourtable.h"

#include <bit>
#include <cstring>

namespace platform
{

namespace
{

// An 8-bit channel in the bits of mask, its low bits dropped where the mask
// is narrower.
std::uint32_t Channel(std::uint8_t value, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const std::uint32_t scaled = bits >= 8 ? static_cast<std::uint32_t>(value) << (bits - 8)
                                           : static_cast<std::uint32_t>(value) >> (8 - bits);
    return (scaled << shift) & mask;
}

} // namespace

std::uint32_t MapRgb(const PixelFormat32& format, Rgb colour)
{
    return Channel(colour.r, format.red) | Channel(colour.g, format.green) |
           Channel(colour.b, format.blue) | format.alpha;
}

const std::vector<std::uint32_t>& ColourTable::Of(int bitsPerPixel, const PixelFormat32& format)
{
    if (std::memcmp(&format, &m_Format, sizeof format) != 0)
    {
        m_Colours8.clear();
        m_Colours16.clear();
        m_Format = format;
    }
    std::vector<std::uint32_t>& table = bitsPerPixel == 8 ? m_Colours8 : m_Colours16;
    if (table.empty())
    {
        table.resize(bitsPerPixel == 8 ? 256 : 65536);
        for (std::size_t value = 0; value < table.size(); ++value)
            table[value] =
                MapRgb(format, PixelBuffer::ToRgb(static_cast<std::uint32_t>(value), bitsPerPixel));
    }
    return table;
}

void ConvertRect(const PixelBuffer& picture, const RECT& r,
                 const std::vector<std::uint32_t>& colours, std::uint8_t* out, int pitch)
{
    for (LONG y = r.top; y < r.bottom; ++y, out += pitch)
    {
        auto* row = reinterpret_cast<std::uint32_t*>(out);
        const std::uint8_t* in = picture.Row(y);
        if (picture.BitsPerPixel() == 8)
            for (LONG x = r.left; x < r.right; ++x)
                row[x - r.left] = colours[in[x]];
        else
            for (LONG x = r.left; x < r.right; ++x)
            {
                std::uint16_t value;
                std::memcpy(&value, in + 2 * x, sizeof value);
                row[x - r.left] = colours[value];
            }
    }
}

} // namespace platform
