// Writes small Windows bitmaps for the bitmap tests, at any of the depths the
// reader knows, from a picture of colours given row by row from the top.
#pragma once

#include "platform/win32/pixelbuffer.h"
#include "testfiles.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace testbmp
{

using testfiles::Bytes;
using Picture = std::vector<std::vector<platform::Rgb>>;

struct BmpOptions
{
    int bitsPerPixel = 24;
    bool topDown = false;
    bool fileHeader = true; // false: the packed form of resources
};

inline Bytes WriteBmp(const Picture& picture, const BmpOptions& options)
{
    const int height = static_cast<int>(picture.size()),
              width = static_cast<int>(picture[0].size());
    const int bits = options.bitsPerPixel, stride = (width * bits + 31) / 32 * 4;
    std::vector<std::uint32_t> palette; // the colours in order of appearance, as 0RGB
    auto packed = [](platform::Rgb c) { return std::uint32_t(c.r << 16 | c.g << 8 | c.b); };
    auto indexOf = [&](platform::Rgb c)
    { return std::find(palette.begin(), palette.end(), packed(c)) - palette.begin(); };
    for (const auto& row : picture)
        for (platform::Rgb c : row)
            if (bits <= 8 && indexOf(c) == std::ptrdiff_t(palette.size()))
                palette.push_back(packed(c));

    Bytes b;
    const auto put = [&b](std::uint32_t value, int size) { testfiles::Put(b, value, size); };
    const auto headers = std::uint32_t((options.fileHeader ? 14 : 0) + 40 + palette.size() * 4);
    if (options.fileHeader)
        put('B' | 'M' << 8, 2), put(headers + stride * height, 4), put(0, 4), put(headers, 4);
    put(40, 4), put(width, 4), put(options.topDown ? -height : height, 4), put(1, 2);
    put(bits, 2), put(0, 4), put(stride * height, 4), put(2835, 4), put(2835, 4);
    put(std::uint32_t(palette.size()), 4), put(0, 4);
    for (std::uint32_t c : palette)
        put(c, 4);
    for (int fileRow = 0; fileRow < height; ++fileRow)
    {
        const auto& row = picture[options.topDown ? fileRow : height - 1 - fileRow];
        Bytes bytes(stride, 0);
        for (int x = 0; x < width; ++x)
            if (bits <= 8)
                bytes[x * bits / 8] |=
                    static_cast<std::uint8_t>(indexOf(row[x]) << (8 - bits - x * bits % 8));
            else
                std::copy_n(Bytes{row[x].b, row[x].g, row[x].r}.begin(), 3, &bytes[x * bits / 8]);
        b.insert(b.end(), bytes.begin(), bytes.end());
    }
    return b;
}

} // namespace testbmp
