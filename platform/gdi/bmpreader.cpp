// Parsing bitmap headers and pixels of 1, 4, 8, 24 and 32 bits, checked against the bytes there
// are.
#include "platform/gdi/bmpreader.h"

#include "platform/win32/byteorder.h"

#include <cstdlib>

namespace platform
{

namespace
{

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::int64_t kMaxSide = 32768;

bool KnownDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

} // namespace

std::unique_ptr<DiBitmap> BmpReader::ReadFile(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return nullptr;
    return Read(bytes, kFileHeaderSize, true);
}

std::unique_ptr<DiBitmap> BmpReader::ReadPackedDib(std::span<const std::uint8_t> bytes)
{
    return Read(bytes, 0, false);
}

std::unique_ptr<DiBitmap> BmpReader::Read(std::span<const std::uint8_t> bytes,
                                          std::size_t infoOffset, bool hasFileHeader)
{
    const std::size_t size = bytes.size();
    if (size < infoOffset + kInfoHeaderSize)
        return nullptr;
    const std::uint32_t headerSize = ReadLittleEndian32(bytes.data() + infoOffset);
    if (headerSize < kInfoHeaderSize || headerSize > size - infoOffset)
        return nullptr;

    const auto width = static_cast<std::int32_t>(ReadLittleEndian32(bytes.data() + infoOffset + 4));
    const auto rawHeight =
        static_cast<std::int32_t>(ReadLittleEndian32(bytes.data() + infoOffset + 8));
    const int planes = ReadLittleEndian16(bytes.data() + infoOffset + 12);
    const int bits = ReadLittleEndian16(bytes.data() + infoOffset + 14);
    const std::uint32_t compression = ReadLittleEndian32(bytes.data() + infoOffset + 16);
    const std::uint32_t coloursUsed = ReadLittleEndian32(bytes.data() + infoOffset + 32);

    const bool topDown = rawHeight < 0;
    const std::int64_t height = std::llabs(static_cast<std::int64_t>(rawHeight));
    if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height > kMaxPixels)
        return nullptr;
    if (planes != 1 || !KnownDepth(bits) || compression != kBiRgb)
        return nullptr;

    // A palette for the indexed depths; the others may carry an optional one
    // that only matters for where a packed bitmap's pixels begin.
    const std::uint32_t fullPalette = bits <= 8 ? (1u << bits) : 0u;
    std::uint32_t paletteEntries = coloursUsed;
    if (bits <= 8)
    {
        if (coloursUsed > fullPalette)
            return nullptr;
        if (coloursUsed == 0)
            paletteEntries = fullPalette;
    }
    else if (coloursUsed > 256)
    {
        return nullptr;
    }
    const std::size_t paletteOffset = infoOffset + headerSize;
    const std::size_t paletteEnd = paletteOffset + std::size_t{paletteEntries} * 4;
    if (paletteEnd > size)
        return nullptr;

    std::size_t bitsOffset = paletteEnd;
    if (hasFileHeader)
    {
        bitsOffset = ReadLittleEndian32(bytes.data() + 10);
        if (bitsOffset < paletteOffset || bitsOffset > size)
            return nullptr;
    }

    const std::int64_t stride = ((static_cast<std::int64_t>(width) * bits + 31) / 32) * 4;
    const std::int64_t lastRow = (static_cast<std::int64_t>(width) * bits + 7) / 8;
    if (stride * (height - 1) + lastRow > static_cast<std::int64_t>(size - bitsOffset))
        return nullptr;

    std::vector<Rgb> palette(paletteEntries > 0 && bits <= 8 ? paletteEntries : 0);
    for (std::size_t i = 0; i < palette.size(); ++i)
    {
        const std::size_t at = paletteOffset + i * 4;
        palette[i] = {bytes[at + 2], bytes[at + 1], bytes[at]};
    }
    // An index beyond a short palette shows black.
    auto indexed = [&palette](unsigned index) {
        return index < palette.size() ? palette[index] : Rgb{0, 0, 0};
    };

    auto bitmap = std::make_unique<DiBitmap>(width, static_cast<int>(height), bits);
    for (std::int64_t row = 0; row < height; ++row)
    {
        const std::size_t rowStart = bitsOffset + static_cast<std::size_t>(row * stride);
        const int y = static_cast<int>(topDown ? row : height - 1 - row);
        for (int x = 0; x < width; ++x)
        {
            Rgb colour;
            switch (bits)
            {
            case 1:
                colour = indexed((bytes[rowStart + x / 8] >> (7 - x % 8)) & 1u);
                break;
            case 4:
                colour = indexed((bytes[rowStart + x / 2] >> (x % 2 ? 0 : 4)) & 0x0Fu);
                break;
            case 8:
                colour = indexed(bytes[rowStart + x]);
                break;
            default:
            {
                const std::size_t at = rowStart + static_cast<std::size_t>(x) * (bits / 8);
                colour = {bytes[at + 2], bytes[at + 1], bytes[at]};
                break;
            }
            }
            bitmap->SetPixel(x, y, colour);
        }
    }
    return bitmap;
}

} // namespace platform
