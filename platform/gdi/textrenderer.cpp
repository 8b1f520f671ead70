// The cache of rendered strings and the writing of their ink into pixels,
// clipped to the target and to an optional rectangle.
#include "platform/gdi/textrenderer.h"

#include <algorithm>
#include <cstring>

namespace platform
{

namespace
{

// Enough for every line a screen or a dialog shows; a runaway caller (a new
// text every frame) empties the cache instead of growing it.
constexpr std::size_t kMaxCachedStrings = 512;

} // namespace

TextRenderer& TextRenderer::Instance()
{
    // Never destroyed, like the display: text drawn during the exit still works.
    static auto* renderer = new TextRenderer;
    return *renderer;
}

int TextRenderer::LineHeight(TextFace face) const
{
    return font::LineHeight(face);
}

int TextRenderer::Ascent(TextFace face) const
{
    return font::Ascent(face);
}

int TextRenderer::AverageCharWidth(TextFace face)
{
    int& average = m_nAverageCharWidth[static_cast<int>(face)];
    if (average == 0)
    {
        const int width = Width(face, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        average = std::max(1, (width / 26 + 1) / 2);
    }
    return average;
}

const TextMask& TextRenderer::Render(TextFace face, std::string_view text)
{
    Cache& cache = m_Cache[static_cast<int>(face)];
    if (auto it = cache.find(text); it != cache.end())
        return it->second;
    if (cache.size() >= kMaxCachedStrings)
        cache.clear();
    TextMask mask = font::Rasterize(face, text);
    return cache.emplace(std::string(text), std::move(mask)).first->second;
}

void TextRenderer::Draw(PixelBuffer& target, int x, int y, TextFace face, std::string_view text,
                        std::uint32_t rawValue, const RECT* clip)
{
    int left = 0, top = 0, right = target.Width(), bottom = target.Height();
    if (clip)
    {
        left = std::max<int>(left, clip->left);
        top = std::max<int>(top, clip->top);
        right = std::min<int>(right, clip->right);
        bottom = std::min<int>(bottom, clip->bottom);
    }
    if (left >= right || top >= bottom || text.empty())
        return;

    const TextMask& mask = Render(face, text);
    for (const TextMask::Run& run : mask.runs)
    {
        const long long py = static_cast<long long>(y) + run.y;
        if (py < top || py >= bottom)
            continue;
        const long long from = std::max<long long>(left, static_cast<long long>(x) + run.x);
        const long long to =
            std::min<long long>(right, static_cast<long long>(x) + run.x + run.length);
        if (from >= to)
            continue;
        // A run of ink is a row of one value.
        std::uint8_t* row = target.Row(static_cast<int>(py));
        if (target.BitsPerPixel() == 8)
            std::memset(row + from, static_cast<std::uint8_t>(rawValue),
                        static_cast<std::size_t>(to - from));
        else
            for (long long px = from; px < to; ++px)
            {
                const auto value = static_cast<std::uint16_t>(rawValue);
                std::memcpy(row + 2 * px, &value, sizeof value);
            }
    }
}

} // namespace platform
