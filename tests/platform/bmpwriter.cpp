#include "bmpwriter.h"

#include <algorithm>

namespace testbmp
{

namespace
{

void AppendWord(std::vector<std::uint8_t>& b, std::uint16_t v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void AppendDword(std::vector<std::uint8_t>& b, std::uint32_t v)
{
    AppendWord(b, static_cast<std::uint16_t>(v));
    AppendWord(b, static_cast<std::uint16_t>(v >> 16));
}

std::uint32_t Packed(platform::Rgb c)
{
    return static_cast<std::uint32_t>(c.r << 16 | c.g << 8 | c.b);
}

} // namespace

void PutDword(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> WriteBmp(const Picture& picture, const BmpOptions& options)
{
    const int height = static_cast<int>(picture.size());
    const int width = static_cast<int>(picture[0].size());
    const int bits = options.bitsPerPixel;

    std::vector<std::uint32_t> palette; // the colours in order of appearance
    auto indexOf = [&palette](platform::Rgb c)
    { return std::find(palette.begin(), palette.end(), Packed(c)) - palette.begin(); };
    if (bits <= 8)
        for (const auto& row : picture)
            for (platform::Rgb c : row)
                if (indexOf(c) == static_cast<std::ptrdiff_t>(palette.size()))
                    palette.push_back(Packed(c));

    const int stride = ((width * bits + 31) / 32) * 4;
    const std::size_t headers = (options.fileHeader ? 14 : 0) + 40 + palette.size() * 4;
    std::vector<std::uint8_t> b;
    if (options.fileHeader)
    {
        b.push_back('B');
        b.push_back('M');
        AppendDword(b, static_cast<std::uint32_t>(headers + stride * height));
        AppendDword(b, 0);
        AppendDword(b, static_cast<std::uint32_t>(headers));
    }
    AppendDword(b, 40);
    AppendDword(b, static_cast<std::uint32_t>(width));
    AppendDword(b, static_cast<std::uint32_t>(options.topDown ? -height : height));
    AppendWord(b, 1);
    AppendWord(b, static_cast<std::uint16_t>(bits));
    AppendDword(b, 0); // BI_RGB
    AppendDword(b, static_cast<std::uint32_t>(stride * height));
    AppendDword(b, 2835);
    AppendDword(b, 2835);
    AppendDword(b, static_cast<std::uint32_t>(palette.size()));
    AppendDword(b, 0);
    for (std::uint32_t c : palette)
        AppendDword(b, c); // blue, green, red, 0
    for (int fileRow = 0; fileRow < height; ++fileRow)
    {
        const auto& row = picture[options.topDown ? fileRow : height - 1 - fileRow];
        std::vector<std::uint8_t> bytes(stride, 0);
        for (int x = 0; x < width; ++x)
        {
            const platform::Rgb c = row[x];
            if (bits <= 8)
            {
                const int bit = x * bits;
                bytes[bit / 8] |= static_cast<std::uint8_t>(indexOf(c) << (8 - bits - bit % 8));
            }
            else
            {
                std::uint8_t* p = &bytes[x * (bits / 8)];
                p[0] = c.b;
                p[1] = c.g;
                p[2] = c.r;
            }
        }
        b.insert(b.end(), bytes.begin(), bytes.end());
    }
    return b;
}

} // namespace testbmp
