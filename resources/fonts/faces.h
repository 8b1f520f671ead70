// The three faces the program draws text in, as the glyph baker renders them
// and its check opens them again with SDL_ttf. Their order is that of
// platform::TextFace.
#pragma once

namespace bake
{

enum class Hinting
{
    Mono,  // one-bit hinting: crisp stems at small sizes
    Light, // vertical hinting only
};

struct FaceSpec
{
    const char* name;
    const char* file; // in resources/fonts
    int points;
    unsigned dpi;
    Hinting hinting;
};

// The game's default font: a cap height of about 10 pixels and a 17-pixel
// line, like the bold system font it stands for. The dialog text is 8 point
// on a 96 dpi screen. Glyphs are one bit deep, so mono hinting keeps their
// stems crisp; the caption's bold needs 9 points and light hinting to keep
// stems two pixels wide.
constexpr FaceSpec kFaces[] = {
    {"System", "LiberationSans-Bold.ttf", 15, 72, Hinting::Mono},
    {"Dialog", "LiberationSans-Regular.ttf", 8, 96, Hinting::Mono},
    {"DialogBold", "LiberationSans-Bold.ttf", 9, 96, Hinting::Light},
};

} // namespace bake
