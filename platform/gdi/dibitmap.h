// The object behind an HBITMAP: a device-independent bitmap kept as rows of
// colours from the top, whatever depth it was read from.
#pragma once

#include "platform/win32/pixelbuffer.h"

#include <vector>

namespace platform
{

class DeviceContext;

class DiBitmap
{
public:
    // Black pixels; the caller keeps the sizes positive and sane.
    DiBitmap(int width, int height, int bitsPerPixel);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // The depth of the source (1, 4, 8, 24 or 32), reported by GetObjectA.
    int BitsPerPixel() const { return m_nBitsPerPixel; }
    // Bytes in one DWORD-aligned row at that depth.
    int RowBytes() const { return ((m_nWidth * m_nBitsPerPixel + 31) / 32) * 4; }

    Rgb Pixel(int x, int y) const { return m_Pixels[Index(x, y)]; }
    void SetPixel(int x, int y, Rgb colour) { m_Pixels[Index(x, y)] = colour; }

    // A bitmap is selected into at most one device context at a time, and is
    // not deleted while it is.
    DeviceContext* SelectedInto() const { return m_pSelectedInto; }
    void SetSelectedInto(DeviceContext* dc) { m_pSelectedInto = dc; }

private:
    std::size_t Index(int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nWidth) +
               static_cast<std::size_t>(x);
    }

    int m_nWidth;
    int m_nHeight;
    int m_nBitsPerPixel;
    std::vector<Rgb> m_Pixels;
    DeviceContext* m_pSelectedInto = nullptr;
};

} // namespace platform
