// The fonts built into the program, rasterised by SDL_ttf into hard-edged ink:
// runs of set pixels, with no grey edges to blend against a background nobody
// knows.
#pragma once

#include <memory>
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
// width x height (height is the font's line height). Full ints, since a
// name read from a file may be tens of thousands of pixels wide.
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

class FontRasterizer
{
public:
    static FontRasterizer& Instance();

    // The ink of an 8-bit (code page 1252) string; no runs when the font is
    // missing or the text is empty.
    TextMask Rasterize(TextFace face, std::string_view text);
    int LineHeight(TextFace face) const;
    // From the top of the cell down to the baseline.
    int Ascent(TextFace face) const;

private:
    FontRasterizer();
    struct Font;
    const Font& FontOf(TextFace face) const;
    std::vector<std::unique_ptr<Font>> m_Fonts;
};

} // namespace platform
