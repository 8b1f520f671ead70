// Lines laid out from the baked glyphs the way they were laid out when baked:
// the pen moves by each glyph's advance in 1/64 pixel, kerned pairs come
// closer, and each glyph's ink lands at the whole pixel left of its position.
#include "platform/font/fontrasterizer.h"

#include "platform/font/bakedfont.h"

#include <algorithm>
#include <tuple>

namespace platform::font
{

namespace
{

const BakedFace& BakedOf(TextFace face)
{
    return kBakedFaces[static_cast<int>(face)];
}

// In 1/64 pixel; 0 for most pairs.
int KerningOf(const BakedFace& face, unsigned char first, unsigned char second)
{
    const BakedKerning* end = face.kerning + face.kerningCount;
    const BakedKerning* it = std::lower_bound(face.kerning, end, std::make_tuple(first, second),
                                              [](const BakedKerning& k, const auto& pair) {
                                                  return std::make_tuple(k.first, k.second) < pair;
                                              });
    return it != end && it->first == first && it->second == second ? it->adjust : 0;
}

// The whole pixel at or left of a position in 1/64 pixel.
long long PixelOf(long long position)
{
    return position >> 6;
}

struct Placed
{
    const BakedGlyph* glyph;
    long long x; // the whole pixel of the glyph's position
};

// Where each glyph of a line lands, and the cell around them: every glyph's
// box and the pen's end, at least one line high.
struct Line
{
    std::vector<Placed> placed;
    long long left = 0;
    long long right = 0;
    long long top = 0;
    long long bottom = 0;
};

// Between the character at i and the next one that is not hidden.
int KerningAfter(const BakedFace& baked, std::string_view text, std::size_t i)
{
    auto byteAt = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    std::size_t next = i + 1;
    while (next < text.size() && baked.glyphs[byteAt(next)].kernedAcross)
        ++next;
    return next < text.size() ? KerningOf(baked, byteAt(i), byteAt(next)) : 0;
}

Line LayOut(const BakedFace& baked, std::string_view text)
{
    // A pair's kerning is split: half of it, rounded down, shortens the first
    // glyph's advance; the rest moves the second glyph left and shortens its
    // advance as well.
    Line line;
    line.bottom = baked.lineHeight;
    line.placed.reserve(text.size());
    long long pen = 0;
    int shift = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const BakedGlyph& glyph = baked.glyphs[static_cast<unsigned char>(text[i])];
        const long long x = PixelOf(pen + (glyph.kernedAcross ? 0 : shift));
        line.placed.push_back({&glyph, x});
        line.left = std::min(line.left, x + glyph.boxLeft);
        line.right = std::max(line.right, x + glyph.boxLeft + glyph.boxWidth);
        // By design: an accent above the line grows the cell, moving the line a pixel down.
        line.top = std::min<long long>(line.top, baked.ascent - glyph.boxTop);
        line.bottom = std::max<long long>(line.bottom, baked.ascent - glyph.boxTop + glyph.boxRows);
        if (glyph.kernedAcross)
        {
            pen += glyph.advance;
            continue;
        }
        const int kerning = KerningAfter(baked, text, i);
        pen += glyph.advance + shift + (kerning >> 1);
        shift = kerning - (kerning >> 1);
    }
    line.right = std::max(line.right, PixelOf(pen));
    return line;
}

// Where glyphs overlap their runs overlap too: sorted by row and column,
// overlapping and touching runs become one.
void Merge(std::vector<TextMask::Run>& runs)
{
    std::sort(runs.begin(), runs.end(),
              [](const TextMask::Run& a, const TextMask::Run& b)
              { return std::tie(a.y, a.x) < std::tie(b.y, b.x); });
    std::size_t kept = 0;
    for (const TextMask::Run& run : runs)
    {
        if (kept > 0)
        {
            TextMask::Run& last = runs[kept - 1];
            if (last.y == run.y && run.x <= last.x + last.length)
            {
                last.length = std::max(last.length, run.x + run.length - last.x);
                continue;
            }
        }
        runs[kept++] = run;
    }
    runs.resize(kept);
}

} // namespace

int LineHeight(TextFace face)
{
    return BakedOf(face).lineHeight;
}

int Ascent(TextFace face)
{
    return BakedOf(face).ascent;
}

TextMask Rasterize(TextFace face, std::string_view text)
{
    const BakedFace& baked = BakedOf(face);
    // The game's strings are C strings: a NUL ends one.
    const Line line = LayOut(baked, text.substr(0, text.find('\0')));
    TextMask mask;
    mask.height = baked.lineHeight;
    if (line.right == line.left)
        return mask;
    mask.width = static_cast<int>(line.right - line.left);
    mask.height = static_cast<int>(line.bottom - line.top);
    // Each glyph's ink, cut to the cell.
    for (const Placed& at : line.placed)
    {
        const BakedGlyph& glyph = *at.glyph;
        const long long inkX = at.x - line.left + glyph.inkLeft;
        const long long inkY = baked.ascent - line.top - glyph.inkTop;
        for (int i = 0; i < glyph.runCount; ++i)
        {
            const BakedRun& run = baked.runs[glyph.firstRun + i];
            const long long y = inkY + run.y;
            const long long from = std::max(0LL, inkX + run.x);
            const long long to = std::min<long long>(mask.width, inkX + run.x + run.length);
            if (y >= 0 && y < mask.height && from < to)
                mask.runs.push_back(
                    {static_cast<int>(from), static_cast<int>(y), static_cast<int>(to - from)});
        }
    }
    Merge(mask.runs);
    return mask;
}

} // namespace platform::font
