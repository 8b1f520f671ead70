// The text faces baked into the program: for every byte of code page 1252 the
// glyph's ink and metrics, and the kerning of pairs of characters. Positions
// along the line are FreeType's 26.6 fixed point (1/64 pixel), as the glyphs
// were laid out when baked. resources/fonts/bake_fonts.cpp writes the table,
// resources/fonts/bakedfonts.cpp.
#pragma once

#include <cstdint>

namespace platform
{

// A row of ink, from the top-left corner of its glyph's ink.
struct BakedRun
{
    std::uint8_t y;
    std::uint8_t x;
    std::uint8_t length;
};

struct BakedGlyph
{
    std::int32_t advance; // 26.6
    // The box the line reserves for the glyph, from the pen position on the
    // baseline (top upwards); it may differ a little from the ink.
    std::int16_t boxLeft;
    std::int16_t boxTop;
    std::int16_t boxWidth;
    std::int16_t boxRows;
    // The top-left corner of the ink, likewise.
    std::int16_t inkLeft;
    std::int16_t inkTop;
    std::uint16_t firstRun;
    std::uint16_t runCount;
    // Hidden (the soft hyphen): the kerning of its neighbours reaches across it.
    bool kernedAcross;
};

// The change in distance when the second character follows the first
// (negative: closer); the layout splits it between them (fontrasterizer.cpp).
struct BakedKerning
{
    std::uint8_t first;
    std::uint8_t second;
    std::int16_t adjust; // 26.6
};

struct BakedFace
{
    int lineHeight;
    int ascent;                  // from the top of the line to the baseline
    const BakedGlyph* glyphs;    // 256, by byte; byte 0 ends a text and is never drawn
    const BakedRun* runs;        // the glyphs' ink
    const BakedKerning* kerning; // by first, then second character
    int kerningCount;
};

// By platform::TextFace.
extern const BakedFace kBakedFaces[3];

} // namespace platform
