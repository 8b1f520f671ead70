// The embedded TrueType faces opened with SDL_ttf, and strings turned into
// runs of ink.
#include "platform/sdl/fontrasterizer.h"

#include "platform/win32/codepage.h"
#include "platform/win32/resources.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>

namespace platform
{

namespace
{

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
            mask.runs.push_back({start, y, x - start});
        }
    }
    SDL_UnlockSurface(surface);
    return mask;
}

} // namespace

struct FontRasterizer::Font
{
    TTF_Font* ttf = nullptr;
};

FontRasterizer& FontRasterizer::Instance()
{
    // Never destroyed, like the display: text drawn during the exit still works.
    static auto* rasterizer = new FontRasterizer;
    return *rasterizer;
}

FontRasterizer::FontRasterizer()
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

const FontRasterizer::Font& FontRasterizer::FontOf(TextFace face) const
{
    return *m_Fonts[static_cast<std::size_t>(face)];
}

int FontRasterizer::LineHeight(TextFace face) const
{
    const Font& font = FontOf(face);
    return font.ttf ? TTF_FontHeight(font.ttf) : 0;
}

int FontRasterizer::Ascent(TextFace face) const
{
    const Font& font = FontOf(face);
    return font.ttf ? TTF_FontAscent(font.ttf) : 0;
}

TextMask FontRasterizer::Rasterize(TextFace face, std::string_view text)
{
    TextMask mask;
    const Font& font = FontOf(face);
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
    return mask;
}

} // namespace platform
