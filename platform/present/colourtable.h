// The picture's pixel values (RGB565, or the 3-3-2 palette) as the 32-bit
// pixels of a back end's format, looked up in a table made once per format.
#pragma once

#include "platform/win32/backend.h"
#include "platform/win32/pixelbuffer.h"

#include <cstdint>
#include <vector>

namespace platform
{

std::uint32_t MapRgb(const PixelFormat32& format, Rgb colour);

class ColourTable
{
public:
    // Entry v is pixel value v of a picture of that depth in format.
    const std::vector<std::uint32_t>& Of(int bitsPerPixel, const PixelFormat32& format);

private:
    PixelFormat32 m_Format;
    std::vector<std::uint32_t> m_Colours16;
    std::vector<std::uint32_t> m_Colours8;
};

// Converts rectangle r of picture into 32-bit pixels at out (its top-left
// corner), pitch bytes apart.
void ConvertRect(const PixelBuffer& picture, const RECT& r,
                 const std::vector<std::uint32_t>& colours, std::uint8_t* out, int pitch);

} // namespace platform
