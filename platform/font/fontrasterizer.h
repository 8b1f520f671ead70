// The program's text faces, drawn from glyphs baked into it (bakedfont.h)
// into hard-edged ink: runs of set pixels, with no grey edges to blend against
// a background nobody knows. No font engine runs, so every back end draws the
// same pixels.
#pragma once

#include <string_view>
#include <vector>

namespace platform
{

enum class TextFace
{
    System,     // bold, the device context's default font of the game's texts
    Dialog,     // regular 8 point, texts of dialogs and message boxes
    DialogBold, // bold 8 point, captions; the last face
};

// The ink of one string: horizontal runs of set pixels in a cell of
// width x height (height is at least the face's line height), row by row,
// left to right. Full ints, since a name read from a file may be tens of
// thousands of pixels wide.
struct TextMask
{
    struct Run
    {
        int x;
        int y;
        int length;
    };
    int width = 0;
    int height = 0;
    std::vector<Run> runs;
};

namespace font
{

// The ink of an 8-bit (code page 1252) string; no runs and no width when the
// text is empty.
TextMask Rasterize(TextFace face, std::string_view text);
int LineHeight(TextFace face);
// From the top of the cell down to the baseline.
int Ascent(TextFace face);

} // namespace font

} // namespace platform
