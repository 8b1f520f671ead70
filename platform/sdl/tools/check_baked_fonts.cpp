// A tool, not part of the program: checks a freshly baked glyph table against
// SDL_ttf, which draws the same fonts one bit deep with FreeType and HarfBuzz:
// each byte alone, every pair of bytes, every byte between a kerned pair and
// seeded random lines, short and long, must give the program's text the same
// cell and the same ink, run for run, and each face the same line height and
// ascent. Run through resources/fonts/bake_fonts.sh.
//
// usage: check_baked_fonts FONT_FOLDER
#include "platform/font/bakedfont.h"
#include "platform/font/fontrasterizer.h"
#include "platform/win32/codepage.h"
#include "resources/fonts/faces.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace
{

using platform::TextFace;
using platform::TextMask;

TextMask MaskOf(SDL_Surface* surface)
{
    TextMask mask;
    mask.width = surface->w;
    mask.height = surface->h;
    for (int y = 0; y < surface->h; ++y)
    {
        const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        for (int x = 0; x < surface->w;)
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
    return mask;
}

// As the program drew its text before it carried the glyphs baked.
TextMask Reference(TTF_Font* font, const std::string& text)
{
    const std::string utf8 = platform::Cp1252ToUtf8(text);
    TextMask mask;
    if (SDL_Surface* surface = TTF_RenderUTF8_Solid(font, utf8.c_str(), {255, 255, 255, 255}))
    {
        mask = MaskOf(surface);
        SDL_FreeSurface(surface);
    }
    if (mask.height == 0)
        mask.height = TTF_FontHeight(font);
    return mask;
}

bool Same(const TextMask& a, const TextMask& b)
{
    auto key = [](const TextMask::Run& r) { return std::tie(r.x, r.y, r.length); };
    if (a.width != b.width || a.height != b.height || a.runs.size() != b.runs.size())
        return false;
    for (std::size_t i = 0; i < a.runs.size(); ++i)
        if (key(a.runs[i]) != key(b.runs[i]))
            return false;
    return true;
}

std::vector<std::string> Corpus(TextFace face)
{
    std::vector<std::string> texts = {"", std::string("a\0b", 3)};
    // Every byte between every kerned pair.
    const platform::BakedFace& baked = platform::kBakedFaces[static_cast<int>(face)];
    for (int k = 0; k < baked.kerningCount; ++k)
        for (int between = 1; between < 256; ++between)
            texts.push_back({static_cast<char>(baked.kerning[k].first), static_cast<char>(between),
                             static_cast<char>(baked.kerning[k].second)});
    for (int first = 1; first < 256; ++first)
    {
        texts.emplace_back(1, static_cast<char>(first));
        for (int second = 1; second < 256; ++second)
            texts.push_back({static_cast<char>(first), static_cast<char>(second)});
    }
    std::mt19937 random(1252);
    std::uniform_int_distribution<int> byte(1, 255);
    for (int length : {3, 5, 8, 13, 21, 40, 80, 300})
        for (int n = 0; n < 2000; ++n)
        {
            std::string text;
            for (int i = 0; i < length; ++i)
                text += static_cast<char>(byte(random));
            texts.push_back(text);
        }
    texts.push_back(std::string(4000, 'W'));
    return texts;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || TTF_Init() != 0)
    {
        std::fprintf(stderr, "usage: %s FONT_FOLDER (with SDL_ttf working)\n", argv[0]);
        return 2;
    }
    int failures = 0;
    for (int f = 0; f < 3; ++f)
    {
        const bake::FaceSpec& spec = bake::kFaces[f];
        const std::string path = std::string(argv[1]) + "/" + spec.file;
        TTF_Font* font = TTF_OpenFontDPI(path.c_str(), spec.points, spec.dpi, spec.dpi);
        if (!font)
        {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        TTF_SetFontHinting(font, spec.hinting == bake::Hinting::Mono ? TTF_HINTING_MONO
                                                                     : TTF_HINTING_LIGHT);
        const auto face = static_cast<TextFace>(f);
        const std::vector<std::string> corpus = Corpus(face);
        if (platform::font::LineHeight(face) != TTF_FontHeight(font) ||
            platform::font::Ascent(face) != TTF_FontAscent(font))
        {
            std::fprintf(stderr, "%s: line height or ascent differ\n", spec.name);
            ++failures;
        }
        for (const std::string& text : corpus)
            if (!Same(platform::font::Rasterize(face, text), Reference(font, text)) &&
                ++failures <= 10)
            {
                std::fprintf(stderr, "%s: differs for", spec.name);
                for (unsigned char c : text.substr(0, 40))
                    std::fprintf(stderr, " %02x", c);
                std::fprintf(stderr, "\n");
            }
        TTF_CloseFont(font);
        std::printf("%s: %zu lines compared\n", spec.name, corpus.size());
    }
    TTF_Quit();
    std::printf("%d differences\n", failures);
    return failures == 0 ? 0 : 1;
}
