// Text in the fonts built into the program, as hard-edged ink masks that are
// written into surfaces in one raw pixel value: no blending with a background
// nobody knows. Rendered strings are cached, since a frame draws the same few
// lines again and again.
#pragma once

#include "platform/win32/pixelbuffer.h"
#include "platform/win32/win32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform
{

enum class TextFace
{
    System,     // bold, the device context's default font of the game's texts
    Dialog,     // regular 8 point, texts of dialogs and message boxes
    DialogBold, // bold 8 point, captions
};

// The ink of one string: horizontal runs of set pixels in a cell of
// width x height (height is the font's line height).
struct TextMask
{
    struct Run
    {
        std::int16_t x;
        std::int16_t y;
        std::int16_t length;
    };
    int width = 0;
    int height = 0;
    std::vector<Run> runs;
};

class TextRenderer
{
public:
    static TextRenderer& Instance();

    // The mask of an 8-bit (code page 1252) string; empty for an empty string.
    const TextMask& Render(TextFace face, std::string_view text);

    int Width(TextFace face, std::string_view text) { return Render(face, text).width; }
    int LineHeight(TextFace face) const;
    // From the top of the cell down to the baseline.
    int Ascent(TextFace face) const;
    // Average width of the letters, as dialog base units count it.
    int AverageCharWidth(TextFace face);

    // Writes the ink with its top-left cell corner at (x, y); only pixels
    // inside the buffer and inside clip (when given) change.
    void Draw(PixelBuffer& target, int x, int y, TextFace face, std::string_view text,
              std::uint32_t rawValue, const RECT* clip = nullptr);

private:
    TextRenderer();
    struct Font;
    Font& FontOf(TextFace face) const;
    std::vector<std::unique_ptr<Font>> m_Fonts;
};

} // namespace platform
