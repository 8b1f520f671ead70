// An icon of the program's resources (a bitmap of 32 bits per pixel whose
// fourth byte is the opacity), as LoadIconA hands it out and the dialogs'
// icon controls draw it. Icons are loaded once and kept for the program's life.
#pragma once

#include "platform/win32/pixelbuffer.h"
#include "platform/win32/win32.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform
{

class IconImage
{
public:
    // The ICON resource of that name; null when it is missing or damaged.
    static const IconImage* Load(std::string_view name);
    // The icon behind a handle that Load gave out; null for anything else.
    static const IconImage* FromHandle(HICON icon);

    HICON Handle() const;
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // The pixels as ARGB8888 with their opacity, rows from the top.
    std::vector<std::uint32_t> Argb() const;

    // Blends the icon onto the picture with its top-left corner at (x, y).
    void Draw(PixelBuffer& target, int x, int y) const;

private:
    IconImage(int width, int height) : m_nWidth(width), m_nHeight(height) {}

    struct Pixel
    {
        Rgb colour;
        std::uint8_t alpha;
    };
    int m_nWidth;
    int m_nHeight;
    std::vector<Pixel> m_Pixels; // rows from the top
};

} // namespace platform
