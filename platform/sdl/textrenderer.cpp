#include "platform/sdl/textrenderer.h"

#include "platform/win32/codepage.h"
#include "platform/win32/resources.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <functional>

namespace platform
{

namespace
{

// Enough for every line a screen or a dialog shows; a runaway caller (a new
// text every frame) empties the cache instead of growing it.
constexpr std::size_t kMaxCachedStrings = 512;

struct StringHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

struct FontSpec
{
    const char* resource;
    int size;
    unsigned dpi;
    int hinting;
};

// The game's default font: a cap height of about 10 pixels and a 17-pixel
// line, like the bold system font it stands for. The dialog text is 8 point
// on a 96 dpi screen. Glyphs are one bit deep, so mono hinting keeps their
// stems crisp; the caption's bold needs 9 points and light hinting to keep
// stems two pixels wide.
constexpr FontSpec kSpecs[] = {
    {"DEFAULT", 15, 72, TTF_HINTING_MONO},
    {"DIALOG", 8, 96, TTF_HINTING_MONO},
    {"DEFAULT", 9, 96, TTF_HINTING_LIGHT},
};

TextMask MaskOf(SDL_Surface* surface)
{
    TextMask mask;
    mask.width = surface->w;
    mask.height = surface->h;
    SDL_LockSurface(surface);
    const auto* pixels = static_cast<const Uint8*>(surface->pixels);
    for (int y = 0; y < surface->h; ++y)
    {
        const Uint8* row = pixels + static_cast<std::size_t>(y) * surface->pitch;
        int x = 0;
        while (x < surface->w)
        {
            if (row[x] == 0)
            {
                ++x;
                continue;
            }
            const int start = x;
            while (x < surface->w && row[x] != 0)
                ++x;
            mask.runs.push_back({static_cast<std::int16_t>(start), static_cast<std::int16_t>(y),
                                 static_cast<std::int16_t>(x - start)});
        }
    }
    SDL_UnlockSurface(surface);
    return mask;
}

} // namespace

struct TextRenderer::Font
{
    TTF_Font* ttf = nullptr;
    int averageCharWidth = 0;
    std::unordered_map<std::string, TextMask, StringHash, std::equal_to<>> cache;
};

TextRenderer& TextRenderer::Instance()
{
    // Never destroyed, like the display: text drawn during the exit still works.
    static auto* renderer = new TextRenderer;
    return *renderer;
}

TextRenderer::TextRenderer()
{
    const bool ttfReady = TTF_Init() == 0;
    for (const FontSpec& spec : kSpecs)
    {
        auto font = std::make_unique<Font>();
        const EmbeddedResource* data = FindEmbeddedResource("FONT", spec.resource);
        if (ttfReady && data)
        {
            SDL_RWops* rw = SDL_RWFromConstMem(data->data, static_cast<int>(data->size));
            font->ttf = rw ? TTF_OpenFontDPIRW(rw, 1, spec.size, spec.dpi, spec.dpi) : nullptr;
            if (font->ttf)
                TTF_SetFontHinting(font->ttf, spec.hinting);
        }
        m_Fonts.push_back(std::move(font));
    }
}

TextRenderer::Font& TextRenderer::FontOf(TextFace face) const
{
    return *m_Fonts[static_cast<std::size_t>(face)];
}

int TextRenderer::LineHeight(TextFace face) const
{
    const Font& font = FontOf(face);
    return font.ttf ? TTF_FontHeight(font.ttf) : 0;
}

int TextRenderer::Ascent(TextFace face) const
{
    const Font& font = FontOf(face);
    return font.ttf ? TTF_FontAscent(font.ttf) : 0;
}

int TextRenderer::AverageCharWidth(TextFace face)
{
    Font& font = FontOf(face);
    if (font.averageCharWidth == 0)
    {
        const int width = Width(face, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        font.averageCharWidth = std::max(1, (width / 26 + 1) / 2);
    }
    return font.averageCharWidth;
}

const TextMask& TextRenderer::Render(TextFace face, std::string_view text)
{
    Font& font = FontOf(face);
    if (auto it = font.cache.find(text); it != font.cache.end())
        return it->second;
    if (font.cache.size() >= kMaxCachedStrings)
        font.cache.clear();

    TextMask mask;
    if (font.ttf && !text.empty())
    {
        const std::string utf8 = Cp1252ToUtf8(text);
        if (SDL_Surface* surface =
                TTF_RenderUTF8_Solid(font.ttf, utf8.c_str(), {255, 255, 255, 255}))
        {
            mask = MaskOf(surface);
            SDL_FreeSurface(surface);
        }
    }
    if (mask.height == 0)
        mask.height = LineHeight(face);
    return font.cache.emplace(std::string(text), std::move(mask)).first->second;
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
        for (long long px = from; px < to; ++px)
            target.Set(static_cast<int>(px), static_cast<int>(py), rawValue);
    }
}

} // namespace platform
