// Device-independent bitmaps kept as rows of colours.
#include "platform/gdi/dibitmap.h"

namespace platform
{

DiBitmap::DiBitmap(int width, int height, int bitsPerPixel)
    : m_nWidth(width), m_nHeight(height), m_nBitsPerPixel(bitsPerPixel),
      m_Pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Rgb{0, 0, 0})
{
}

} // namespace platform
