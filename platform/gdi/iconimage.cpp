// Loading the program's icons once and keeping them.
#include "platform/gdi/iconimage.h"

#include "platform/gdi/bmpreader.h"
#include "platform/win32/byteorder.h"
#include "platform/win32/resources.h"

#include <map>
#include <memory>
#include <string>

namespace platform
{

namespace
{

std::map<std::string, std::unique_ptr<IconImage>, std::less<>>& Cache()
{
    static std::map<std::string, std::unique_ptr<IconImage>, std::less<>> cache;
    return cache;
}

std::uint8_t Mix(std::uint8_t over, std::uint8_t under, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

} // namespace

const IconImage* IconImage::Load(std::string_view name)
{
    auto& cache = Cache();
    if (const auto it = cache.find(name); it != cache.end())
        return it->second.get();

    const EmbeddedResource* resource = FindEmbeddedResource("ICON", name);
    if (resource == nullptr)
        return nullptr;
    const std::span<const std::uint8_t> bytes(resource->data, resource->size);
    const std::unique_ptr<DiBitmap> bitmap = BmpReader::ReadFile(bytes);
    if (!bitmap)
        return nullptr;

    std::unique_ptr<IconImage> icon(new IconImage(bitmap->Width(), bitmap->Height()));
    icon->m_Pixels.reserve(static_cast<std::size_t>(icon->m_nWidth) * icon->m_nHeight);
    // The reader has checked that the header and the rows fit into the bytes;
    // the opacity is the one thing it does not keep.
    const bool withAlpha = bitmap->BitsPerPixel() == 32;
    const std::size_t pixelStart = ReadLittleEndian32(resource->data + 10);
    const bool topDown = static_cast<std::int32_t>(ReadLittleEndian32(resource->data + 22)) < 0;
    for (int y = 0; y < icon->m_nHeight; ++y)
    {
        const std::size_t row = static_cast<std::size_t>(topDown ? y : icon->m_nHeight - 1 - y);
        for (int x = 0; x < icon->m_nWidth; ++x)
        {
            const std::size_t at =
                pixelStart + (row * static_cast<std::size_t>(icon->m_nWidth) + x) * 4 + 3;
            const std::uint8_t alpha = withAlpha && at < bytes.size() ? bytes[at] : 255;
            icon->m_Pixels.push_back({bitmap->Pixel(x, y), alpha});
        }
    }
    return cache.emplace(std::string(name), std::move(icon)).first->second.get();
}

const IconImage* IconImage::FromHandle(HICON icon)
{
    for (const auto& [name, image] : Cache())
        if (image->Handle() == icon)
            return image.get();
    return nullptr;
}

HICON IconImage::Handle() const
{
    return reinterpret_cast<HICON>(const_cast<IconImage*>(this));
}

std::vector<std::uint32_t> IconImage::Argb() const
{
    std::vector<std::uint32_t> argb;
    argb.reserve(m_Pixels.size());
    for (const Pixel& p : m_Pixels)
        argb.push_back((std::uint32_t{p.alpha} << 24) | (std::uint32_t{p.colour.r} << 16) |
                       (std::uint32_t{p.colour.g} << 8) | p.colour.b);
    return argb;
}

void IconImage::Draw(PixelBuffer& target, int x, int y) const
{
    for (int row = 0; row < m_nHeight; ++row)
    {
        const int ty = y + row;
        if (ty < 0 || ty >= target.Height())
            continue;
        for (int col = 0; col < m_nWidth; ++col)
        {
            const int tx = x + col;
            const Pixel& p = m_Pixels[static_cast<std::size_t>(row) * m_nWidth + col];
            if (tx < 0 || tx >= target.Width() || p.alpha == 0)
                continue;
            const Rgb under = target.ToRgb(target.Get(tx, ty));
            target.Set(tx, ty,
                       target.FromRgb({Mix(p.colour.r, under.r, p.alpha),
                                       Mix(p.colour.g, under.g, p.alpha),
                                       Mix(p.colour.b, under.b, p.alpha)}));
        }
    }
}

} // namespace platform
