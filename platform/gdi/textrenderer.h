// Text in the fonts built into the program, written into surfaces in one raw
// pixel value. Rendered strings are cached, since a frame draws the same few
// lines again and again.
#pragma once

#include "platform/font/fontrasterizer.h"
#include "platform/win32/pixelbuffer.h"
#include "platform/win32/win32.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform
{

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
    TextRenderer() = default;

    struct StringHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const
        {
            return std::hash<std::string_view>{}(s);
        }
    };
    using Cache = std::unordered_map<std::string, TextMask, StringHash, std::equal_to<>>;

    static constexpr int kFaces = static_cast<int>(TextFace::DialogBold) + 1;
    Cache m_Cache[kFaces];
    int m_nAverageCharWidth[kFaces] = {};
};

} // namespace platform
